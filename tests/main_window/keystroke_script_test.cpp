#include "main_window/keystroke_script.h"

#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using tolvane::Box;

// Controls as plain values, with a log of every read in the order made.
class FakeInputs : public tolvane::ScriptInputs {
public:
    std::array<int, tolvane::player_count + 1> ticks{}; // index 1..8
    std::wstring count = L"35";
    std::map<std::pair<int, Box>, std::wstring> boxes; // missing boxes read as ""
    std::vector<std::string> reads;

    int tick(int player) override {
        reads.push_back("tick " + std::to_string(player));
        return ticks.at(static_cast<std::size_t>(player));
    }
    std::wstring patch_count() override {
        reads.push_back("count");
        return count;
    }
    std::wstring box(int player, Box which) override {
        static const char* const names[] = {"px", "py", "sx", "sy"};
        reads.push_back(names[static_cast<int>(which)] + std::to_string(player));
        return boxes[{player, which}];
    }

    void set_row(int player, const wchar_t* px, const wchar_t* py, const wchar_t* sx,
                 const wchar_t* sy) {
        ticks.at(static_cast<std::size_t>(player)) = 1;
        boxes[{player, Box::PatchX}] = px;
        boxes[{player, Box::PatchY}] = py;
        boxes[{player, Box::StartX}] = sx;
        boxes[{player, Box::StartY}] = sy;
    }
};

std::wstring entry(std::wstring_view x, std::wstring_view y) {
    std::wstring e(tolvane::x_lead_in);
    e += x;
    e += tolvane::y_lead_in;
    e += y;
    e += tolvane::entry_tail;
    return e;
}

int error_of(FakeInputs& inputs) {
    try {
        tolvane::build_keystroke_script(inputs);
    } catch (const rt::RuntimeError& e) {
        return e.number;
    }
    return 0;
}

std::size_t occurrences(std::wstring_view text, std::wstring_view part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != text.npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(KeystrokeScript, UnitEntryHoldsThePixelValues) {
    const std::wstring expected = entry(L"320", L"656");
    ASSERT_EQ(expected.size(), 199u);

    struct Case {
        const wchar_t* x;
        const wchar_t* y;
        const wchar_t* pixel_x;
        const wchar_t* pixel_y;
    };
    const Case cases[] = {
        {L"10", L"20", L"320", L"656"},
        {L"10.0", L" 20 ", L"320", L"656"},
        {L"0", L"0", L"0", L"16"},
        {L"-1", L"-1", L"-32", L"-16"},
        {L"0", L"-0.5", L"0", L"0"},
        {L"2.5", L"2", L"80", L"80"},
        {L"0.1", L"0.1", L"3.2", L"19.2"},
        {L"2", L"2", L"64", L"80"},
        {L"1E14", L"1e-6", L"3.2E15", L"16.000032"},
        {L"5.6E306", L"-5.6e306", L"1.792E308", L"-1.792E308"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "x " << std::wstring(c.x) << ", y " << std::wstring(c.y));
        FakeInputs inputs;
        inputs.count = L"0";
        inputs.set_row(3, L"", L"", c.x, c.y);
        EXPECT_EQ(tolvane::build_keystroke_script(inputs), entry(c.pixel_x, c.pixel_y));
    }
}

TEST(KeystrokeScript, PatchEntriesComeFirstThenStartEntries) {
    FakeInputs inputs;
    inputs.count = L"2";
    inputs.set_row(6, L"96", L"105", L"96", L"107");
    inputs.set_row(8, L"45", L"25", L"45", L"27");
    inputs.boxes[{7, Box::PatchX}] = L"not read"; // unticked rows never matter

    const std::wstring patch6 = entry(L"3072", L"3376");
    const std::wstring patch8 = entry(L"1440", L"816");
    EXPECT_EQ(tolvane::build_keystroke_script(inputs),
              patch6 + patch6 + patch8 + patch8 + entry(L"3072", L"3440") + entry(L"1440", L"880"));
}

TEST(KeystrokeScript, ReadsOnlyWhatItNeedsInOrder) {
    const std::vector<std::string> ticks_twice = {
        "tick 1", "tick 2", "tick 3", "tick 4", "tick 5", "tick 6", "tick 7", "tick 8",
        "tick 1", "tick 2", "tick 3", "tick 4", "tick 5", "tick 6", "tick 7", "tick 8"};
    struct Case {
        const char* name;
        std::vector<int> ticked;
        int other_tick; // the value of every row not in ticked
        const wchar_t* count;
        std::vector<std::string> reads;
        std::size_t entries;
    };
    const Case cases[] = {
        {"no row ticked", {}, 0, L"", {}, 0},
        {"greyed counts as unticked", {}, 2, L"", {}, 0},
        {"rows 2 and 5, count 3",
         {2, 5},
         0,
         L"3",
         {"tick 1", "tick 2", "count",  "px2",    "py2",    "tick 3", "tick 4", "tick 5", "count",
          "px5",    "py5",    "tick 6", "tick 7", "tick 8", "tick 1", "tick 2", "sx2",    "sy2",
          "tick 3", "tick 4", "tick 5", "sx5",    "sy5",    "tick 6", "tick 7", "tick 8"},
         8},
        {"count 0 skips patch boxes",
         {4},
         0,
         L"0",
         {"tick 1", "tick 2", "tick 3", "tick 4", "count", "tick 5", "tick 6", "tick 7", "tick 8",
          "tick 1", "tick 2", "tick 3", "tick 4", "sx4", "sy4", "tick 5", "tick 6", "tick 7",
          "tick 8"},
         1},
        {"negative count", {1}, 0, L"-3", {}, 1},
        {"fractional count", {1}, 0, L"2.5", {}, 3},
        {"count below one", {1}, 0, L"0.5", {}, 1},
        {"all rows, count 35", {1, 2, 3, 4, 5, 6, 7, 8}, 0, L"35", {}, 288},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeInputs inputs;
        inputs.ticks.fill(c.other_tick);
        inputs.count = c.count;
        for (const int player : c.ticked)
            inputs.set_row(player, L"96", L"105", L"100", L"107");

        const std::wstring script = tolvane::build_keystroke_script(inputs);

        EXPECT_EQ(occurrences(script, L"{DOWN}"), c.entries);
        EXPECT_EQ(script.size(), c.entries * entry(L"3072", L"3376").size());
        if (c.ticked.empty()) {
            EXPECT_EQ(inputs.reads, ticks_twice);
        } else if (!c.reads.empty()) {
            EXPECT_EQ(inputs.reads, c.reads);
        }
    }
}

TEST(KeystrokeScript, FirstFailingReadEndsTheRun) {
    struct Case {
        const char* name;
        const wchar_t* count;
        const wchar_t* patch_x;
        const wchar_t* patch_y;
        const wchar_t* start_x;
        const wchar_t* start_y;
        int error;
        std::string last_read;
    };
    const Case cases[] = {
        {"empty count", L"", L"1", L"1", L"1", L"1", rt::err::TypeMismatch, "count"},
        {"count no number", L"three", L"1", L"1", L"1", L"1", rt::err::TypeMismatch, "count"},
        {"count beyond range", L"1E400", L"1", L"1", L"1", L"1", rt::err::Overflow, "count"},
        {"patch x no number", L"2", L"abc", L"1", L"1", L"1", rt::err::TypeMismatch, "px2"},
        {"patch y empty", L"2", L"1", L"", L"1", L"1", rt::err::TypeMismatch, "py2"},
        {"empty start box", L"2", L"1", L"1", L"1", L"", rt::err::TypeMismatch, "sy2"},
        {"x scaling overflows", L"2", L"1E307", L"1", L"1", L"1", rt::err::Overflow, "px2"},
        {"y scaling overflows", L"2", L"1", L"-5.7e306", L"1", L"1", rt::err::Overflow, "py2"},
        {"huge count", L"1E9", L"1", L"1", L"1", L"1", rt::err::OutOfMemory, "py2"},
        {"huge count, bad box first", L"1E9", L"", L"1", L"1", L"1", rt::err::TypeMismatch, "px2"},
        // 337230 entries of 199 units fit; the start entry then passes the limit.
        {"limit reached by start entry", L"337230", L"10", L"20", L"10", L"20",
         rt::err::OutOfMemory, "sy2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeInputs inputs;
        inputs.count = c.count;
        inputs.set_row(2, c.patch_x, c.patch_y, c.start_x, c.start_y);

        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(error_of(inputs), c.error);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
        ASSERT_FALSE(inputs.reads.empty());
        EXPECT_EQ(inputs.reads.back(), c.last_read);
    }
}

} // namespace
