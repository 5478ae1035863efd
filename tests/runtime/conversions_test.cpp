#include "runtime/conversions.h"

#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

int error_of(auto&& call) {
    try {
        call();
    } catch (const rt::RuntimeError& e) {
        return e.number;
    }
    return 0;
}

struct ParseCase {
    const wchar_t* text;
    double expected;
};

TEST(TextToNumber, ReadsValidNumbers) {
    const ParseCase cases[] = {
        {L"35", 35.0},
        {L"-2", -2.0},
        {L"+7", 7.0},
        {L"2.5", 2.5},
        {L".5", 0.5},
        {L"5.", 5.0},
        {L"-.25", -0.25},
        {L"0", 0.0},
        {L"-0", 0.0},
        {L"000123", 123.0},
        {L"10.0", 10.0},
        {L"  42", 42.0},
        {L"42  ", 42.0},
        {L"\t 42\t ", 42.0},
        {L"1e3", 1000.0},
        {L"1E3", 1000.0},
        {L"1.5e+2", 150.0},
        {L"25E-1", 2.5},
        {L"0.1", 0.1},
        {L"1e-400", 0.0},
        {L"-1e-400", 0.0},
        {L"0e999999", 0.0},
        {L"1e-99999999999999999999999", 0.0},
        {L"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {L"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {L"5.6e306", 5.6e306},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text: \"" << std::wstring(c.text) << "\"");
        EXPECT_EQ(rt::text_to_number(c.text), c.expected);
    }
}

TEST(TextToNumber, RoundsLongMantissasCorrectly) {
    // 400 digits whose value is small, and a long run of digits after the point.
    std::wstring leading_zeros(399, L'0');
    leading_zeros += L'7';
    EXPECT_EQ(rt::text_to_number(leading_zeros), 7.0);

    std::wstring long_fraction = L"0." + std::wstring(300, L'3');
    EXPECT_EQ(rt::text_to_number(long_fraction), 1.0 / 3.0);

    std::wstring scaled_back = L"1" + std::wstring(400, L'0') + L"e-400";
    EXPECT_EQ(rt::text_to_number(scaled_back), 1.0);
}

TEST(TextToNumber, RejectsTextThatIsNoNumber) {
    const wchar_t* cases[] = {L"",    L" ",     L"\t",      L".",      L"-",     L"+",   L"abc",
                              L"1a",  L"a1",    L"1 2",     L"1..2",   L"1.2.3", L"--1", L"+-1",
                              L"- 1", L"1e",    L"1e+",     L"1e-",    L"e5",    L".e5", L"1e5.5",
                              L"1,5", L"1_000", L"0x10",    L"&H10",   L"1d3",   L"inf", L"nan",
                              L"1\n", L"\n1",   L"\u00A01", L"\uFF11", L"1%",    L"$1"};
    for (const auto* text : cases) {
        SCOPED_TRACE(testing::Message() << "text: \"" << std::wstring(text) << "\"");
        EXPECT_EQ(error_of([&] { rt::text_to_number(text); }), rt::err::TypeMismatch);
    }
    const std::wstring with_nul(L"1\0", 2);
    EXPECT_EQ(error_of([&] { rt::text_to_number(with_nul); }), rt::err::TypeMismatch);
}

TEST(TextToNumber, ReportsOverflowBeyondDoubleRange) {
    const std::wstring cases[] = {
        L"1E400",
        L"-1E400",
        L"1.8e308",
        L"1e99999999999999999999",
        std::wstring(400, L'9'),
        L"-" + std::wstring(400, L'1'),
        L"0.00001e314",
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(testing::Message() << "text: \"" << text << "\"");
        EXPECT_EQ(error_of([&] { rt::text_to_number(text); }), rt::err::Overflow);
    }
}

struct FormatCase {
    double value;
    const wchar_t* expected;
};

TEST(NumberToText, FormatsGeneralDecimal) {
    const FormatCase cases[] = {
        {0.0, L"0"},
        {-0.0, L"0"},
        {290.0, L"290"},
        {-16.0, L"-16"},
        {320.0, L"320"},
        {3.2, L"3.2"},
        {0.1 * 32, L"3.2"},
        {0.1 * 8, L"0.8"},
        {0.1 * 32 + 16, L"19.2"},
        {0.1 + 0.2, L"0.3"},
        {1.0 / 3.0, L"0.333333333333333"},
        {-2.0 / 3.0, L"-0.666666666666667"},
        {2.5 * 32, L"80"},
        {-0.5 * 32 + 16, L"0"},
        {1e14, L"100000000000000"},
        {123456789012345.0, L"123456789012345"},
        {999999999999999.0, L"999999999999999"},
        {0.0001, L"0.0001"},
        {-0.0001, L"-0.0001"},
        {0.00012345, L"0.00012345"},
        {1234.5678, L"1234.5678"},
        {0.5, L"0.5"},
        {100.25, L"100.25"},
        // Sixteen or more digits are cut back to fifteen, rounding to nearest.
        {1234567890123456.0, L"1.23456789012346E15"},
        {12345678901234.56, L"12345678901234.6"},
        {0.1234567890123456, L"0.123456789012346"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value: " << c.value);
        EXPECT_EQ(rt::number_to_text(c.value), c.expected);
    }
}

TEST(NumberToText, UsesExponentFormOutsidePlainRange) {
    const FormatCase cases[] = {
        {1e15, L"1E15"},
        {-1e15, L"-1E15"},
        {1.5e15, L"1.5E15"},
        {-2.5e20, L"-2.5E20"},
        {1e100, L"1E100"},
        {std::numeric_limits<double>::max(), L"1.79769313486232E308"},
        {-std::numeric_limits<double>::max(), L"-1.79769313486232E308"},
        {1.5e-7, L"1.5E-7"},
        {-1.5e-7, L"-1.5E-7"},
        {0.00009, L"9E-5"},
        {1e-10, L"1E-10"},
        {1.23456789012345678e-20, L"1.23456789012346E-20"},
        {std::numeric_limits<double>::denorm_min(), L"4.94065645841247E-324"},
        // The form follows the value after rounding to fifteen digits.
        {999999999999999.5, L"1E15"},
        {999999999999999.4, L"999999999999999"},
        {0.000099999999999999999, L"0.0001"},
        {0.0000999999999999, L"9.99999999999E-5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value: " << c.value);
        const std::wstring text = rt::number_to_text(c.value);
        EXPECT_EQ(text, c.expected);
        // '+' in the text would press Shift when typed as keys.
        EXPECT_EQ(text.find(L'+'), std::wstring::npos);
    }
}

TEST(NumberToText, DoesNotFailOnValuesArithmeticNeverProduces) {
    EXPECT_FALSE(rt::number_to_text(std::numeric_limits<double>::infinity()).empty());
    EXPECT_FALSE(rt::number_to_text(-std::numeric_limits<double>::infinity()).empty());
    EXPECT_FALSE(rt::number_to_text(std::numeric_limits<double>::quiet_NaN()).empty());
}

TEST(Conversions, TextSurvivesRoundTrip) {
    const double values[] = {0.0,     1.0,    -1.0,    3.2,     19.2,    1e15,  -2.5e20,
                             1.5e-7,  0.0001, 9e-5,    123.456, 1e-300,  1e300, 656.0,
                             -3376.5, 1e-320, 7.25e12, 4.2e-5,  100000.0};
    for (const double v : values) {
        SCOPED_TRACE(testing::Message() << "value: " << v);
        const std::wstring text = rt::number_to_text(v);
        const double back = rt::text_to_number(text);
        EXPECT_EQ(rt::number_to_text(back), text);
        EXPECT_NEAR(back, v, std::abs(v) * 1e-14);
    }
}

struct ArithmeticCase {
    double a;
    double b;
    int error; // 0: the result is the plain double result
};

TEST(CheckedArithmetic, MultiplicationReportsOverflow) {
    constexpr double max = std::numeric_limits<double>::max();
    const ArithmeticCase cases[] = {
        {max, 32, rt::err::Overflow},
        {-max, 32, rt::err::Overflow},
        {5.7e306, 32, rt::err::Overflow},
        {5.6e306, 32, 0},
        {max, 1, 0},
        {1e-300, 1e-300, 0},
        {10, 32, 0},
        {-1, 32, 0},
        {0, max, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " * " << c.b);
        double result = 0;
        EXPECT_EQ(error_of([&] { result = rt::checked_mul(c.a, c.b); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(result, c.a * c.b);
        }
    }
}

TEST(CheckedArithmetic, AdditionReportsOverflow) {
    constexpr double max = std::numeric_limits<double>::max();
    const ArithmeticCase cases[] = {
        {max, max, rt::err::Overflow},
        {-max, -max, rt::err::Overflow},
        {max, -max, 0},
        {max, 16, 0},
        {640, 16, 0},
        {-32, 16, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " + " << c.b);
        double result = 0;
        EXPECT_EQ(error_of([&] { result = rt::checked_add(c.a, c.b); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(result, c.a + c.b);
        }
    }
}

} // namespace
