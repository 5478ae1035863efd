// The running unit total at the top of the main window, driven the two ways
// its boxes change: keys typed by the user and texts set from code.

#include "main_window/form1.h"
#include "support/ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t Warning[] = L"OMG! WTF? Negative? What have you done!!";
const std::wstring Dashes = L"-- Total Units";

// Beyond the double range (about 1.8E308) however it is read.
std::wstring huge_number(wchar_t first = L'1') {
    return first + std::wstring(399, L'7');
}

std::string narrow(std::wstring_view text) {
    std::string s;
    for (wchar_t ch : text)
        s += ch < 128 ? static_cast<char>(ch) : '?';
    return s;
}

enum class Box { NumOfPatches, CurrentUnits };
const wchar_t* box_name(Box box) {
    return box == Box::NumOfPatches ? L"numOfPatches" : L"currentUnits";
}
Box other(Box box) {
    return box == Box::NumOfPatches ? Box::CurrentUnits : Box::NumOfPatches;
}

class UnitCounter : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        test::activate(form);
        ASSERT_EQ(GetForegroundWindow(), form.hwnd());
    }

    rt::Control& c(std::wstring_view name) { return form.control(name); }
    rt::Control& box(Box b) { return form.control(box_name(b)); }
    std::wstring total() { return c(L"totalUnits").Caption(); }
    std::wstring negative() { return c(L"negative").Caption(); }

    // Types `text` into the box as a user would: select what it holds,
    // delete it, type the new text key by key.
    void type_into(Box b, std::wstring_view text) {
        rt::Control& target = box(b);
        // Deleting an empty box changes nothing: give it something to delete.
        if (text.empty() && target.Text().empty()) target.SetText(L"7");
        SetFocus(target.hwnd());
        if (!target.Text().empty()) test::press({{VK_END}, {VK_HOME, true}, {VK_DELETE}});
        ASSERT_EQ(target.Text(), L"");
        if (text.size() > 20) {
            test::type_at_once(text);
            ASSERT_TRUE(test::pump_until([&] { return target.Text() == text; }, 10000));
        } else {
            test::type(text);
        }
        ASSERT_EQ(target.Text(), text);
    }

    // Replaces the whole text of the box by one paste: a single change.
    void paste_into(Box b, std::wstring_view text) {
        ASSERT_TRUE(OpenClipboard(form.hwnd()));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        auto* chars = static_cast<wchar_t*>(GlobalLock(memory));
        std::copy(text.begin(), text.end(), chars);
        chars[text.size()] = L'\0';
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        rt::Control& target = box(b);
        SetFocus(target.hwnd());
        // Pasting nothing over a selection is deleting it.
        const WORD paste_key = text.empty() ? VK_DELETE : 'V';
        test::press({{VK_END}, {VK_HOME, true}, {paste_key, false, !text.empty()}});
        ASSERT_TRUE(test::pump_until([&] { return target.Text() == text; }));
    }

    tolvane::Form1 form;
};

// ---- One run, by the texts of both boxes and the box that changed ---------

enum class Changed { NumOfPatches, CurrentUnits, Either };

struct Row {
    std::wstring patches, current;
    Changed changed;
    std::wstring total, negative;
};

const Row rows[] = {
    {L"35", L"10", Changed::Either, L"290 Total Units", L""},
    {L"35", L"", Changed::Either, Dashes, L""},
    {L"", L"10", Changed::Either, Dashes, L""},
    {L"abc", L"10", Changed::Either, Dashes, L""},
    {L"35", L"-", Changed::Either, Dashes, L""},
    {L"0", L"0", Changed::Either, L"0 Total Units", L""},
    {L"-1", L"8", Changed::Either, L"0 Total Units", L""},
    {L"35", L"-300", Changed::NumOfPatches, L"-20 Total Units", Warning},
    {L"35", L"-300", Changed::CurrentUnits, L"-20 Total Units?!", Warning},
    {L"-1", L"7", Changed::CurrentUnits, L"-1 Total Units?!", Warning},
    {L"-1", L"7", Changed::NumOfPatches, L"-1 Total Units", Warning},
    {L"2.5", L"1", Changed::Either, L"21 Total Units", L""},
    {L"0.1", L"0", Changed::Either, L"0.8 Total Units", L""},
    {L" 35 ", L"1e1", Changed::Either, L"290 Total Units", L""},
    {L"35", L"-280", Changed::CurrentUnits, L"0 Total Units", L""},
    {L"-35", L"-10", Changed::CurrentUnits, L"-290 Total Units?!", Warning},
    {L"", L"abc", Changed::Either, Dashes, L""},
    {L"", huge_number(), Changed::Either, Dashes, L""},
    // Unchanged, and what came before was the dashes: typed key by key, the
    // runs before the number left the double range found no current units.
    {huge_number(), L"", Changed::Either, Dashes, L""},
};

struct Way {
    const char* name;
    bool keys; // typed by the user, else set from code
    Box box;   // the box whose change raises the run
};

void PrintTo(const Way& way, std::ostream* os) {
    *os << way.name;
}

class UnitCounterRun : public UnitCounter, public ::testing::WithParamInterface<Way> {};

TEST_P(UnitCounterRun, ShowsTheTotalOfBothBoxesAndWarnsBelowZero) {
    const Way way = GetParam();
    for (const Row& row : rows) {
        if (row.changed == Changed::NumOfPatches && way.box != Box::NumOfPatches) continue;
        if (row.changed == Changed::CurrentUnits && way.box != Box::CurrentUnits) continue;
        SCOPED_TRACE("numOfPatches \"" + narrow(row.patches) + "\", currentUnits \"" +
                     narrow(row.current) + "\"");
        const std::wstring& mine = way.box == Box::NumOfPatches ? row.patches : row.current;
        const std::wstring& theirs = way.box == Box::NumOfPatches ? row.current : row.patches;
        box(other(way.box)).SetText(theirs);
        if (way.keys) {
            type_into(way.box, mine);
        } else {
            // The run that counts must be raised by this box: make sure its text changes.
            if (box(way.box).Text() == mine) box(way.box).SetText(mine.empty() ? L"1" : L"");
            box(way.box).SetText(mine);
        }
        EXPECT_EQ(total(), row.total);
        EXPECT_EQ(negative(), row.negative);
        // The counter only displays: both boxes keep what the user typed.
        EXPECT_EQ(c(L"numOfPatches").Text(), row.patches);
        EXPECT_EQ(c(L"currentUnits").Text(), row.current);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, UnitCounterRun,
                         ::testing::Values(Way{"TypedIntoNumOfPatches", true, Box::NumOfPatches},
                                           Way{"TypedIntoCurrentUnits", true, Box::CurrentUnits},
                                           Way{"NumOfPatchesSetFromCode", false, Box::NumOfPatches},
                                           Way{"CurrentUnitsSetFromCode", false,
                                               Box::CurrentUnits}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Runs that overflow: the caption stays as the last run left it ---------

struct OverflowCase {
    const char* what;
    std::wstring patches, current;
    Box changed;
};

const OverflowCase overflow_cases[] = {
    {"a 400-digit patch count", huge_number(), L"10", Box::NumOfPatches},
    {"a 400-digit patch count and no current units", huge_number(), L"", Box::CurrentUnits},
    {"a 400-digit current unit count", L"35", huge_number(), Box::CurrentUnits},
    {"a 400-digit patch count beside text that is no number", huge_number(), L"abc",
     Box::CurrentUnits},
    {"a product beyond the range", L"1e308", L"10", Box::NumOfPatches},
    {"a sum beyond the range", L"2e307", L"1.7e308", Box::CurrentUnits},
    {"a sum beyond the range, negative", L"-2e307", L"-1.7e308", Box::CurrentUnits},
};

struct OverflowWay {
    const char* name;
    bool paste; // one paste by the user, else set from code
};

void PrintTo(const OverflowWay& way, std::ostream* os) {
    *os << way.name;
}

class UnitCounterOverflow : public UnitCounter,
                            public ::testing::WithParamInterface<OverflowWay> {};

TEST_P(UnitCounterOverflow, LeavesTheLastTotalAndClearsTheWarning) {
    const bool paste = GetParam().paste;
    for (const OverflowCase& cs : overflow_cases) {
        SCOPED_TRACE(cs.what);
        for (bool from_negative : {false, true}) {
            SCOPED_TRACE(from_negative ? "after a negative total" : "after a total of 290");
            // A known last total, shown by a run that succeeded.
            c(L"numOfPatches").SetText(L"35");
            c(L"currentUnits").SetText(from_negative ? L"-300" : L"10");
            const std::wstring before = total();
            ASSERT_EQ(before, from_negative ? L"-20 Total Units?!" : L"290 Total Units");
            ASSERT_EQ(negative(), from_negative ? Warning : L"");
            // Reach the case's texts through runs that overflow too, so
            // nothing but an overflow has touched the caption since.
            const std::wstring& mine = cs.changed == Box::NumOfPatches ? cs.patches : cs.current;
            const std::wstring& theirs = cs.changed == Box::NumOfPatches ? cs.current : cs.patches;
            if (theirs != box(other(cs.changed)).Text()) {
                box(cs.changed).SetText(huge_number(L'9'));
                box(other(cs.changed)).SetText(theirs);
                ASSERT_EQ(total(), before);
            }
            if (paste)
                paste_into(cs.changed, mine);
            else
                box(cs.changed).SetText(mine);
            EXPECT_EQ(total(), before);
            EXPECT_EQ(negative(), L"");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, UnitCounterOverflow,
                         ::testing::Values(OverflowWay{"PastedByTheUser", true},
                                           OverflowWay{"SetFromCode", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitCounter, BothBoxesFailingCountsThePatchCountsFailure) {
    c(L"numOfPatches").SetText(L"35");
    c(L"currentUnits").SetText(L"10");
    // The patch count overflows first: the last total stays.
    c(L"numOfPatches").SetText(huge_number());
    c(L"currentUnits").SetText(L"abc");
    EXPECT_EQ(total(), L"290 Total Units");
    // The patch count is no number first: the dashes, though the other overflows.
    c(L"numOfPatches").SetText(L"abc");
    c(L"currentUnits").SetText(huge_number());
    EXPECT_EQ(total(), Dashes);
}

// ---- Typing, key by key --------------------------------------------------

TEST_F(UnitCounter, StartsWithDashesAndRecountsAfterEveryKey) {
    EXPECT_EQ(total(), Dashes);
    EXPECT_EQ(negative(), L"");
    SetFocus(c(L"currentUnits").hwnd());
    test::type(L"1");
    EXPECT_EQ(total(), L"281 Total Units");
    test::type(L"0");
    EXPECT_EQ(total(), L"290 Total Units");
    test::press({{VK_BACK}});
    EXPECT_EQ(total(), L"281 Total Units");
    test::press({{VK_BACK}});
    EXPECT_EQ(total(), Dashes);
}

TEST_F(UnitCounter, TypingANegativeCountShowsOneQueryAndTheWarning) {
    struct Step {
        std::vector<test::Key> keys;
        std::wstring total, negative;
    };
    const Step steps[] = {
        {{{VK_OEM_MINUS}}, Dashes, L""}, // "-" alone is no number yet
        {{{'3'}}, L"277 Total Units", L""},
        {{{'0'}}, L"250 Total Units", L""},
        {{{'0'}}, L"-20 Total Units?!", Warning},
        {{{'0'}}, L"-2720 Total Units?!", Warning},
        {{{VK_BACK}}, L"-20 Total Units?!", Warning},
        {{{VK_HOME}, {VK_DELETE}}, L"580 Total Units", L""},
        {{{VK_OEM_MINUS}}, L"-20 Total Units?!", Warning},
    };
    SetFocus(c(L"currentUnits").hwnd());
    for (const Step& step : steps) {
        test::press(step.keys);
        SCOPED_TRACE("currentUnits \"" + narrow(c(L"currentUnits").Text()) + "\"");
        EXPECT_EQ(total(), step.total);
        EXPECT_EQ(negative(), step.negative);
    }
}

TEST_F(UnitCounter, EditingThePatchCountDropsTheQueryButKeepsTheWarning) {
    SetFocus(c(L"currentUnits").hwnd());
    test::type(L"-300");
    ASSERT_EQ(total(), L"-20 Total Units?!");
    SetFocus(c(L"numOfPatches").hwnd());
    test::press({{VK_END}, {VK_BACK}});
    EXPECT_EQ(total(), L"-276 Total Units");
    EXPECT_EQ(negative(), Warning);
    test::type(L"5");
    EXPECT_EQ(total(), L"-20 Total Units");
    EXPECT_EQ(negative(), Warning);
}

// ---- Ticks ---------------------------------------------------------------

TEST_F(UnitCounter, TicksNeverChangeTheCounter) {
    struct State {
        const char* what;
        std::wstring patches, current;
    };
    const State states[] = {
        {"a total", L"35", L"10"},
        {"a negative total", L"35", L"-300"},
        {"no number", L"abc", L"10"},
    };
    for (const State& s : states) {
        SCOPED_TRACE(s.what);
        c(L"numOfPatches").SetText(s.patches);
        SetFocus(c(L"currentUnits").hwnd());
        type_into(Box::CurrentUnits, s.current);
        const std::wstring shown = total();
        const std::wstring warning = negative();
        for (int player = 1; player <= 8; ++player)
            test::click(form.control(L"Check" + std::to_wstring(player)).hwnd());
        for (int player = 1; player <= 8; ++player)
            ASSERT_EQ(form.control(L"Check" + std::to_wstring(player)).Value(), 0);
        EXPECT_EQ(total(), shown);
        EXPECT_EQ(negative(), warning);
        for (int player = 1; player <= 8; ++player)
            form.control(L"Check" + std::to_wstring(player)).SetValue(1);
        EXPECT_EQ(total(), shown);
        EXPECT_EQ(negative(), warning);
    }
}

} // namespace
