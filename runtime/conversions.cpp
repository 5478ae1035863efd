#include "runtime/conversions.h"

#include "runtime/errors.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace rt {

namespace {

bool is_blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool is_digit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Exponents this far out are beyond any double whatever the mantissa holds;
// saturating here keeps the magnitude estimate free of integer overflow.
constexpr std::int64_t exponent_cap = 1'000'000'000;

[[noreturn]] void fail(int number) {
    throw RuntimeError(number);
}

} // namespace

double text_to_number(std::wstring_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && is_blank(text[i]))
        ++i;

    bool negative = false;
    if (i < n && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }

    // from_chars takes narrow text and no leading '+', so the validated
    // number is copied over in the one form it accepts.
    std::string digits;
    digits.reserve(n - i + 4);

    const std::size_t int_begin = i;
    while (i < n && is_digit(text[i]))
        digits.push_back(static_cast<char>(text[i++]));
    const std::size_t int_count = i - int_begin;

    std::size_t frac_count = 0;
    if (i < n && text[i] == L'.') {
        digits.push_back('.');
        ++i;
        const std::size_t frac_begin = i;
        while (i < n && is_digit(text[i]))
            digits.push_back(static_cast<char>(text[i++]));
        frac_count = i - frac_begin;
    }
    if (int_count == 0 && frac_count == 0) fail(err::TypeMismatch);

    std::int64_t exponent = 0;
    if (i < n && (text[i] == L'e' || text[i] == L'E')) {
        digits.push_back('e');
        ++i;
        bool exp_negative = false;
        if (i < n && (text[i] == L'+' || text[i] == L'-')) {
            exp_negative = text[i] == L'-';
            if (exp_negative) digits.push_back('-');
            ++i;
        }
        const std::size_t exp_begin = i;
        while (i < n && is_digit(text[i])) {
            digits.push_back(static_cast<char>(text[i]));
            if (exponent < exponent_cap) exponent = exponent * 10 + (text[i] - L'0');
            ++i;
        }
        if (i == exp_begin) fail(err::TypeMismatch);
        if (exp_negative) exponent = -exponent;
    }

    while (i < n && is_blank(text[i]))
        ++i;
    if (i != n) fail(err::TypeMismatch);

    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars reports overflow and underflow alike; tell them apart by
        // the decimal position of the first significant digit.
        std::int64_t position = 0; // power of ten of the leading nonzero digit
        bool found = false;
        std::size_t k = 0;
        std::int64_t int_digits_left = static_cast<std::int64_t>(int_count);
        std::int64_t frac_index = 0;
        for (; k < digits.size() && digits[k] != 'e'; ++k) {
            const char c = digits[k];
            if (c == '.') continue;
            if (int_digits_left > 0) {
                --int_digits_left;
                if (c != '0' && !found) {
                    position = int_digits_left;
                    found = true;
                }
            } else {
                ++frac_index;
                if (c != '0' && !found) {
                    position = -frac_index;
                    found = true;
                }
            }
        }
        if (!found) return 0.0;
        if (position + exponent > 0) fail(err::Overflow);
        return 0.0;
    }
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        fail(err::TypeMismatch);
    if (!std::isfinite(value)) fail(err::Overflow);
    return negative ? -value : value;
}

std::wstring number_to_text(double value) {
    if (std::isnan(value)) return L"NaN";
    if (std::isinf(value)) return value < 0 ? L"-Inf" : L"Inf";
    if (value == 0.0) return L"0";

    // Fifteen significant digits in scientific form, correctly rounded, give
    // both the digits and the exponent after rounding, so that a value which
    // rounds up to the next power of ten picks its form from the rounded value.
    std::array<char, 64> buf{};
    const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                      std::chars_format::scientific, 14);
    const char* p = buf.data();
    const char* const end = result.ptr;

    std::wstring out;
    out.reserve(24);
    if (*p == '-') {
        out.push_back(L'-');
        ++p;
    }

    std::array<char, 16> mantissa{};
    std::size_t count = 0;
    for (; p != end && *p != 'e'; ++p)
        if (*p != '.') mantissa[count++] = *p;
    while (count > 1 && mantissa[count - 1] == '0')
        --count;

    int exponent = 0;
    if (p != end) {
        ++p; // 'e'
        bool exp_negative = *p == '-';
        ++p; // sign, always present
        for (; p != end; ++p)
            exponent = exponent * 10 + (*p - '0');
        if (exp_negative) exponent = -exponent;
    }

    auto put_digits = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            out.push_back(static_cast<wchar_t>(mantissa[k]));
    };

    if (exponent >= 15 || exponent < -4) {
        put_digits(0, 1);
        if (count > 1) {
            out.push_back(L'.');
            put_digits(1, count);
        }
        out.push_back(L'E');
        if (exponent < 0) out.push_back(L'-');
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude >= 100) out.push_back(static_cast<wchar_t>(L'0' + magnitude / 100));
        if (magnitude >= 10) out.push_back(static_cast<wchar_t>(L'0' + magnitude / 10 % 10));
        out.push_back(static_cast<wchar_t>(L'0' + magnitude % 10));
        return out;
    }

    if (exponent < 0) {
        out += L"0.";
        out.append(static_cast<std::size_t>(-exponent - 1), L'0');
        put_digits(0, count);
        return out;
    }

    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (count <= whole) {
        put_digits(0, count);
        out.append(whole - count, L'0');
    } else {
        put_digits(0, whole);
        out.push_back(L'.');
        put_digits(whole, count);
    }
    return out;
}

double checked_mul(double a, double b) {
    const double r = a * b;
    if (!std::isfinite(r) && std::isfinite(a) && std::isfinite(b)) fail(err::Overflow);
    return r;
}

double checked_add(double a, double b) {
    const double r = a + b;
    if (!std::isfinite(r) && std::isfinite(a) && std::isfinite(b)) fail(err::Overflow);
    return r;
}

} // namespace rt
