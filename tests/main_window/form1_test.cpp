// The main window as the user meets it: its state after start-up, its
// layout, keyboard navigation, the player rows' ticks and the access keys,
// all through the real window and real input.

#include "main_window/form1.h"
#include "support/ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using tolvane::Form1;

constexpr std::array<std::wstring_view, 4> BoxSuffixes{L"x", L"y", L"startx", L"starty"};

std::wstring box_name(int player, std::wstring_view suffix) {
    return L"p" + std::to_wstring(player) + std::wstring(suffix);
}
std::wstring check_name(int player) {
    return L"Check" + std::to_wstring(player);
}

// For failure messages; the names are plain ASCII.
std::string narrow(std::wstring_view text) {
    std::string s;
    for (wchar_t ch : text)
        s += static_cast<char>(ch);
    return s;
}

std::wstring display_name(const rt::Control& c) {
    std::wstring name(c.name());
    if (c.index() != rt::NoIndex) name += L"(" + std::to_wstring(c.index()) + L")";
    return name;
}

std::wstring class_of(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    std::wstring s(name);
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t ch) { return towupper(ch); });
    return s;
}

// What the user can see of one control.
struct ControlState {
    std::wstring name;
    bool visible;
    std::wstring text;
    int value; // check boxes only, else -1
    bool operator==(const ControlState&) const = default;
};

// Readable failures: the state as the user would describe it.
void PrintTo(const ControlState& s, std::ostream* os) {
    for (wchar_t ch : s.name)
        *os << static_cast<char>(ch);
    *os << (s.visible ? " shown" : " hidden") << " \"";
    for (wchar_t ch : s.text)
        *os << (ch < 128 ? static_cast<char>(ch) : '?');
    *os << "\"";
    if (s.value >= 0) *os << " value " << s.value;
}

std::vector<ControlState> snapshot(rt::Form& form) {
    std::vector<ControlState> states;
    for (const auto& c : form.controls())
        states.push_back({display_name(*c), c->Visible(), c->Text(),
                          c->kind() == rt::ControlKind::CheckBox ? c->Value() : -1});
    return states;
}

// A second window of the test's own, to take the activation away.
constexpr rt::ControlDesign other_controls[] = {
    {L"Text1", rt::NoIndex, rt::ControlKind::TextBox, 120, 120, 1500, 285, L"", rt::DefaultFont,
     rt::Align::Left, 0},
};
constexpr rt::FormDesign other_design{L"Other", L"Another window", 3000, 1500, other_controls};
class OtherForm : public rt::Form {
public:
    OtherForm() : rt::Form(other_design) {}
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        test::activate(form);
        ASSERT_EQ(GetForegroundWindow(), form.hwnd());
    }

    rt::Control& c(std::wstring_view name, int index = rt::NoIndex) {
        return form.control(name, index);
    }

    void fill_every_box() {
        for (int player = 1; player <= 8; ++player)
            for (std::wstring_view suffix : BoxSuffixes)
                c(box_name(player, suffix))
                    .SetText(std::to_wstring(player * 10) + L"." + std::to_wstring(suffix.size()));
        c(L"numOfPatches").SetText(L"35");
        c(L"currentUnits").SetText(L"10");
    }

    void set_ticks(const std::vector<int>& unticked) {
        for (int player = 1; player <= 8; ++player) {
            const bool off = std::find(unticked.begin(), unticked.end(), player) != unticked.end();
            c(check_name(player)).SetValue(off ? 0 : 1);
        }
    }

    Form1 form;
};

// ---- Start-up ------------------------------------------------------------

TEST_F(MainWindow, StartsWithEveryRowTickedAndTheDesignTexts) {
    for (int player = 1; player <= 8; ++player) {
        SCOPED_TRACE(player);
        EXPECT_EQ(c(check_name(player)).Value(), 1);
        for (std::wstring_view suffix : BoxSuffixes) {
            rt::Control& box = c(box_name(player, suffix));
            EXPECT_TRUE(box.Visible());
            EXPECT_TRUE(IsWindowVisible(box.hwnd()));
            EXPECT_EQ(box.Text(), L"");
        }
    }
    EXPECT_EQ(c(L"numOfPatches").Text(), L"35");
    EXPECT_EQ(c(L"currentUnits").Text(), L"");
    EXPECT_EQ(c(L"totalUnits").Caption(), L"-- Total Units");
    EXPECT_EQ(c(L"negative").Caption(), L"");
    EXPECT_EQ(test::focused_name(form), L"Command1");
    for (const auto& control : form.controls())
        EXPECT_TRUE(IsWindowEnabled(control->hwnd()));
}

TEST_F(MainWindow, IsCentredOnTheWorkAreaWithItsDesignSizeAndCaption) {
    if (form.dpi() != 96) GTEST_SKIP() << "sizes are checked at 96 dpi";
    wchar_t caption[64] = {};
    GetWindowTextW(form.hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"Tolvane v1.2");

    RECT client;
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right - client.left, 547);
    EXPECT_EQ(client.bottom - client.top, 465);

    RECT window;
    GetWindowRect(form.hwnd(), &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(form.hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    // Centres may differ by half a pixel when the sizes differ in parity.
    EXPECT_NEAR(window.left - area.left, area.right - window.right, 1);
    EXPECT_NEAR(window.top - area.top, area.bottom - window.bottom, 1);
    EXPECT_TRUE(GetWindowLongPtrW(form.hwnd(), GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(MainWindow, MenuBarHoldsFileAndHelpWithAccessKeysAndNoShortcuts) {
    struct Menu {
        std::wstring caption;
        std::vector<std::wstring> items;
    };
    const Menu expected[] = {
        {L"&File", {L"&Clear All", L"E&xit"}},
        {L"&Help", {L"&Instructions", L"&About"}},
    };
    auto menu_string = [](HMENU menu, int position) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
        return std::wstring(text);
    };
    HMENU bar = GetMenu(form.hwnd());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    for (int m = 0; m < 2; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(menu_string(bar, m), expected[m].caption);
        HMENU popup = GetSubMenu(bar, m);
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(expected[m].items.size()));
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            EXPECT_EQ(menu_string(popup, i), expected[m].items[static_cast<std::size_t>(i)]);
            const UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
            EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR), 0u);
        }
    }
}

// ---- Layout --------------------------------------------------------------

enum class Kind { Label, TextBox, CheckBox, Button };

struct Expected {
    std::wstring name;
    int index;
    Kind kind;
    int left, top, width, height;        // twips
    std::optional<std::wstring> caption; // nullopt: checked on its own below
    int centipoints;                     // 0: the window's default font
    bool bold;
    rt::Align align;
};

// Rebuilt from the window's layout tables: columns, rows and sizes of the
// player rows, then the other controls one by one.
std::vector<Expected> designed_controls() {
    struct Column {
        int check, labels, x, y;
    };
    constexpr Column columns[] = {{360, 600, 2280, 2880}, {4080, 4320, 6000, 6600}};
    struct Row {
        int check, upper, lower;
    };
    constexpr Row rows[] = {
        {1200, 1560, 1920}, {2400, 2760, 3120}, {3600, 3960, 4320}, {4800, 5160, 5520}};
    using enum Kind;
    using rt::Align;
    std::vector<Expected> all;
    for (int player = 1; player <= 8; ++player) {
        const int column = (player - 1) % 2;
        const int row = (player - 1) / 2;
        const int k = column * 4 + row;
        const Column& col = columns[column];
        const Row& r = rows[row];
        all.push_back({check_name(player), rt::NoIndex, CheckBox, col.check, r.check,
                       player == 8 ? 1695 : 1815, 375, L"Player " + std::to_wstring(player), 975,
                       true, Align::Left});
        all.push_back({L"Label3", k, Label, col.labels, r.upper, 1575, 255, L"Mineral Patch", 825,
                       false, Align::Left});
        all.push_back({L"Label4", k, Label, col.labels, r.lower, 1575, 255, L"Starting Location",
                       825, false, Align::Left});
        all.push_back({box_name(player, L"x"), rt::NoIndex, TextBox, col.x, r.upper, 495, 285, L"",
                       0, false, Align::Center});
        all.push_back({box_name(player, L"y"), rt::NoIndex, TextBox, col.y, r.upper, 495, 285, L"",
                       0, false, Align::Center});
        all.push_back({box_name(player, L"startx"), rt::NoIndex, TextBox, col.x, r.lower, 495, 285,
                       L"", 0, false, Align::Center});
        all.push_back({box_name(player, L"starty"), rt::NoIndex, TextBox, col.y, r.lower, 495, 285,
                       L"", 0, false, Align::Center});
    }
    const std::vector<Expected> others = {
        {L"Label7", rt::NoIndex, Label, 120, 240, 3135, 255, L"Num. of Patches Per Player:", 975,
         false, Align::Left},
        {L"numOfPatches", rt::NoIndex, TextBox, 3120, 240, 495, 285, L"35", 825, false,
         Align::Center},
        {L"totalUnits", rt::NoIndex, Label, 3720, 240, 4335, 495, L"-- Total Units", 2025, false,
         Align::Center},
        {L"Label4", 8, Label, 120, 720, 3015, 255, L"Current Number of Units", 975, false,
         Align::Left},
        {L"currentUnits", rt::NoIndex, TextBox, 3120, 720, 495, 285, L"", 825, false,
         Align::Center},
        {L"negative", rt::NoIndex, Label, 3720, 720, 4335, 255, L"", 825, false, Align::Center},
        {L"Command2", rt::NoIndex, Button, 120, 6000, 1935, 615, L"&Clear All", 975, false,
         Align::Center},
        {L"Command1", rt::NoIndex, Button, 2160, 6000, 6015, 615, L"&Stack It!", 975, false,
         Align::Center},
        {L"Label5", rt::NoIndex, Label, 120, 6720, 3255, 255, std::nullopt, 825, false,
         Align::Left},
        {L"Label6", rt::NoIndex, Label, 4080, 6720, 3975, 255, std::nullopt, 825, false,
         Align::Right},
    };
    all.insert(all.end(), others.begin(), others.end());
    return all;
}

std::wstring trace_name(const Expected& e) {
    return e.index == rt::NoIndex ? e.name : e.name + L"(" + std::to_wstring(e.index) + L")";
}

rt::Control* find(rt::Form& form, const Expected& e) {
    for (const auto& c : form.controls())
        if (c->is(e.name, e.index)) return c.get();
    return nullptr;
}

TEST_F(MainWindow, HoldsExactlyTheDesignedControls) {
    const auto expected = designed_controls();
    EXPECT_EQ(form.controls().size(), expected.size());
    for (const Expected& e : expected) {
        rt::Control* control = find(form, e);
        ASSERT_NE(control, nullptr) << narrow(trace_name(e));
        EXPECT_EQ(GetParent(control->hwnd()), form.hwnd());
        EXPECT_TRUE(IsWindowVisible(control->hwnd()));
        if (e.caption) {
            EXPECT_EQ(control->Text(), *e.caption);
        }
    }
}

TEST_F(MainWindow, PlacesEveryControlInPixelsAt96Dpi) {
    if (form.dpi() != 96) GTEST_SKIP() << "positions are checked at 96 dpi";
    for (const Expected& e : designed_controls()) {
        SCOPED_TRACE(narrow(trace_name(e)));
        rt::Control* control = find(form, e);
        ASSERT_NE(control, nullptr);
        RECT r;
        GetWindowRect(control->hwnd(), &r);
        MapWindowPoints(HWND_DESKTOP, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        // Every designed value is a whole number of pixels at 96 dpi.
        EXPECT_EQ(r.left, e.left / 15);
        EXPECT_EQ(r.top, e.top / 15);
        EXPECT_EQ(r.right - r.left, e.width / 15);
        EXPECT_EQ(r.bottom - r.top, e.height / 15);
    }
}

TEST_F(MainWindow, GivesEveryControlItsKindAndAlignment) {
    for (const Expected& e : designed_controls()) {
        SCOPED_TRACE(narrow(trace_name(e)));
        rt::Control* control = find(form, e);
        ASSERT_NE(control, nullptr);
        HWND w = control->hwnd();
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
        switch (e.kind) {
        case Kind::Label: {
            EXPECT_EQ(class_of(w), L"STATIC");
            const DWORD align = e.align == rt::Align::Center  ? SS_CENTER
                                : e.align == rt::Align::Right ? SS_RIGHT
                                                              : SS_LEFT;
            EXPECT_EQ(style & SS_TYPEMASK, align);
            EXPECT_FALSE(style & WS_TABSTOP);
            break;
        }
        case Kind::TextBox:
            EXPECT_EQ(class_of(w), L"EDIT");
            EXPECT_TRUE(style & ES_CENTER);
            EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_NUMBER));
            EXPECT_TRUE(style & WS_TABSTOP);
            // No limit of its own: the platform's default for a single line.
            EXPECT_GE(SendMessageW(w, EM_GETLIMITTEXT, 0, 0), 30000);
            break;
        case Kind::CheckBox:
            EXPECT_EQ(class_of(w), L"BUTTON");
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_3STATE));
            EXPECT_FALSE(style & BS_LEFTTEXT); // the box left of the caption
            EXPECT_TRUE(style & WS_TABSTOP);
            break;
        case Kind::Button:
            EXPECT_EQ(class_of(w), L"BUTTON");
            // Neither button is the default one, so Enter presses neither.
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
            EXPECT_TRUE(style & WS_TABSTOP);
            break;
        }
    }
}

TEST_F(MainWindow, UsesVerdanaEverywhereButInTheCoordinateBoxes) {
    const int dpi = static_cast<int>(form.dpi());
    for (const Expected& e : designed_controls()) {
        SCOPED_TRACE(narrow(trace_name(e)));
        rt::Control* control = find(form, e);
        ASSERT_NE(control, nullptr);
        auto font = reinterpret_cast<HFONT>(SendMessageW(control->hwnd(), WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        if (font) {
            ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        }
        if (e.centipoints == 0) {
            EXPECT_STRNE(lf.lfFaceName, L"Verdana");
            continue;
        }
        ASSERT_NE(font, nullptr);
        EXPECT_STREQ(lf.lfFaceName, L"Verdana");
        // 8.25, 9.75 and 20.25 pt are 11, 13 and 27 pixels at 96 dpi.
        EXPECT_EQ(lf.lfHeight, -MulDiv(e.centipoints, dpi, 7200));
        if (dpi == 96) {
            const int pixels = e.centipoints == 825 ? 11 : e.centipoints == 975 ? 13 : 27;
            EXPECT_EQ(lf.lfHeight, -pixels);
        }
        EXPECT_EQ(lf.lfWeight, e.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(lf.lfItalic);
        EXPECT_FALSE(lf.lfUnderline);
        EXPECT_FALSE(lf.lfStrikeOut);
    }
}

TEST_F(MainWindow, ShowsTheCreditAndBugReportLines) {
    const std::wstring credit = c(L"Label5").Caption();
    EXPECT_NE(credit.find(L"\u00A9"), std::wstring::npos) << "no copyright sign";
    EXPECT_NE(credit.find(L"2002-2003"), std::wstring::npos);
    const std::wstring report = c(L"Label6").Caption();
    const std::wstring prefix = L"Report Bugs To:  ";
    ASSERT_EQ(report.substr(0, prefix.size()), prefix);
    const std::wstring address = report.substr(prefix.size());
    EXPECT_NE(address.find(L'@'), std::wstring::npos);
    EXPECT_EQ(address.find(L' '), std::wstring::npos);
}

TEST_F(MainWindow, LabelsLieBeneathEveryWindowedControl) {
    std::vector<HWND> z_order;
    for (HWND w = GetWindow(form.hwnd(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        z_order.push_back(w);
    ASSERT_EQ(z_order.size(), form.controls().size());
    auto is_label = [](HWND w) { return class_of(w) == L"STATIC"; };
    // Top of the z-order first: once a label comes, only labels may follow.
    const auto first_label = std::find_if(z_order.begin(), z_order.end(), is_label);
    EXPECT_TRUE(std::all_of(first_label, z_order.end(), is_label));
    EXPECT_EQ(std::count_if(z_order.begin(), z_order.end(), is_label), 8 * 2 + 6);
}

// ---- Focus order ---------------------------------------------------------

std::vector<std::wstring> tab_order(const std::vector<int>& unticked) {
    auto ticked = [&](int player) {
        return std::find(unticked.begin(), unticked.end(), player) == unticked.end();
    };
    std::vector<std::wstring> order = {L"Command1", L"Command2"};
    for (int player : {1, 3, 5, 7, 2, 4, 6, 8})
        if (ticked(player))
            for (std::wstring_view suffix : BoxSuffixes)
                order.push_back(box_name(player, suffix));
    order.push_back(L"numOfPatches");
    order.push_back(L"currentUnits");
    for (int player : {1, 3, 5, 7, 2, 4, 6, 8})
        order.push_back(check_name(player));
    return order;
}

struct TabCase {
    const char* what;
    std::vector<int> unticked;
};
const TabCase tab_cases[] = {
    {"every row ticked", {}},
    {"row 3 unticked", {3}},
    {"first and last rows unticked", {1, 8}},
    {"rows 2, 4, 6 and 7 unticked", {2, 4, 6, 7}},
    {"every row unticked", {1, 2, 3, 4, 5, 6, 7, 8}},
};

TEST_F(MainWindow, TabVisitsTheVisibleControlsInTabIndexOrderAndWraps) {
    for (const TabCase& tc : tab_cases) {
        SCOPED_TRACE(tc.what);
        set_ticks(tc.unticked);
        SetFocus(c(L"Command1").hwnd());
        const auto order = tab_order(tc.unticked);
        std::vector<std::wstring> visited;
        for (std::size_t i = 0; i < order.size(); ++i) {
            test::press({{VK_TAB}});
            visited.push_back(test::focused_name(form));
        }
        std::vector<std::wstring> expected(order.begin() + 1, order.end());
        expected.push_back(order.front());
        EXPECT_EQ(visited, expected);
    }
}

TEST_F(MainWindow, ShiftTabGoesTheOtherWay) {
    for (const TabCase& tc : tab_cases) {
        SCOPED_TRACE(tc.what);
        set_ticks(tc.unticked);
        SetFocus(c(L"Command1").hwnd());
        auto order = tab_order(tc.unticked);
        std::vector<std::wstring> visited;
        for (std::size_t i = 0; i < order.size(); ++i) {
            test::press({{VK_TAB, true}});
            visited.push_back(test::focused_name(form));
        }
        std::vector<std::wstring> expected(order.rbegin(), order.rend() - 1);
        expected.push_back(order.front());
        EXPECT_EQ(visited, expected);
    }
}

TEST_F(MainWindow, WithEveryRowUntickedTabGoesFromClearAllToThePatchCount) {
    set_ticks({1, 2, 3, 4, 5, 6, 7, 8});
    SetFocus(c(L"Command2").hwnd());
    test::press({{VK_TAB}});
    EXPECT_EQ(test::focused_name(form), L"numOfPatches");
    test::press({{VK_TAB, true}});
    EXPECT_EQ(test::focused_name(form), L"Command2");
}

TEST_F(MainWindow, FocusComesBackWhereItWasWhenTheWindowIsActivatedAgain) {
    OtherForm other;
    struct Case {
        const char* what;
        std::function<void()> move_focus;
        std::wstring expected;
    };
    const Case cases[] = {
        {"three Tabs from the start",
         [&] {
             test::press({{VK_TAB}, {VK_TAB}, {VK_TAB}});
         },
         L"p1y"},
        {"a coordinate box of the right column", [&] { SetFocus(c(L"p6startx").hwnd()); },
         L"p6startx"},
        {"a clicked check box", [&] { test::click(c(L"Check6").hwnd()); }, L"Check6"},
        {"the unit count", [&] { test::click(c(L"currentUnits").hwnd()); }, L"currentUnits"},
        {"the Clear All button", [&] { SetFocus(c(L"Command2").hwnd()); }, L"Command2"},
    };
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.what);
        SetFocus(c(L"Command1").hwnd());
        cs.move_focus();
        ASSERT_EQ(test::focused_name(form), cs.expected);
        other.Show();
        // Out of the way of the clicks that the next case makes.
        SetWindowPos(other.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        test::activate(other);
        ASSERT_EQ(GetForegroundWindow(), other.hwnd());
        EXPECT_EQ(test::focused_name(form), L"");
        test::activate(form);
        EXPECT_EQ(test::focused_name(form), cs.expected);
    }
}

// ---- Player rows ---------------------------------------------------------

// What must hold after row `player` went to `ticked`: its four boxes follow the
// tick, and every other control looks exactly as before.
void expect_only_row_changed(const std::vector<ControlState>& before,
                             const std::vector<ControlState>& after, int player, bool ticked) {
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        ControlState expected = before[i];
        if (expected.name == check_name(player)) expected.value = ticked ? 1 : 0;
        for (std::wstring_view suffix : BoxSuffixes)
            if (expected.name == box_name(player, suffix)) expected.visible = ticked;
        EXPECT_EQ(after[i].name, expected.name);
        EXPECT_EQ(after[i].visible, expected.visible) << narrow(expected.name);
        EXPECT_EQ(after[i].text, expected.text);
        EXPECT_EQ(after[i].value, expected.value);
    }
}

struct Toggle {
    const char* how;
    void (*toggle)(Form1&, int player, bool tick);
};
const Toggle toggles[] = {
    {"mouse click",
     [](Form1& f, int player, bool) { test::click(f.control(check_name(player)).hwnd()); }},
    {"Space on the focused box",
     [](Form1& f, int player, bool) {
         SetFocus(f.control(check_name(player)).hwnd());
         test::press({{VK_SPACE}});
     }},
    {"Value set from code",
     [](Form1& f, int player, bool tick) { f.control(check_name(player)).SetValue(tick ? 1 : 0); }},
};

TEST_F(MainWindow, UntickingAndTickingARowHidesAndShowsExactlyItsFourBoxes) {
    fill_every_box();
    ASSERT_EQ(c(L"totalUnits").Caption(), L"290 Total Units");
    for (const Toggle& t : toggles) {
        for (int player = 1; player <= 8; ++player) {
            SCOPED_TRACE(std::string(t.how) + ", player " + std::to_string(player));
            const auto ticked = snapshot(form);
            t.toggle(form, player, false);
            const auto unticked = snapshot(form);
            expect_only_row_changed(ticked, unticked, player, false);
            t.toggle(form, player, true);
            expect_only_row_changed(unticked, snapshot(form), player, true);
            EXPECT_EQ(c(L"totalUnits").Caption(), L"290 Total Units");
        }
    }
}

TEST_F(MainWindow, TicksOfSeveralRowsAreIndependent) {
    fill_every_box();
    set_ticks({2, 3, 5, 8});
    for (int player = 1; player <= 8; ++player) {
        const bool ticked = player != 2 && player != 3 && player != 5 && player != 8;
        for (std::wstring_view suffix : BoxSuffixes)
            EXPECT_EQ(c(box_name(player, suffix)).Visible(), ticked) << player;
        EXPECT_TRUE(c(check_name(player)).Visible());
    }
    set_ticks({});
    for (int player = 1; player <= 8; ++player)
        for (std::wstring_view suffix : BoxSuffixes)
            EXPECT_EQ(c(box_name(player, suffix)).Text(),
                      std::to_wstring(player * 10) + L"." + std::to_wstring(suffix.size()));
}

TEST_F(MainWindow, AGreyedValueFromCodeChangesNoBox) {
    for (int player = 1; player <= 8; ++player) {
        SCOPED_TRACE(player);
        rt::Control& check = c(check_name(player));
        auto row_visible = [&](bool visible) {
            for (std::wstring_view suffix : BoxSuffixes)
                if (c(box_name(player, suffix)).Visible() != visible) return false;
            return true;
        };
        // From a shown row...
        auto before = snapshot(form);
        check.SetValue(2);
        EXPECT_EQ(check.Value(), 2);
        auto after = snapshot(form);
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (after[i].name == check_name(player)) continue;
            EXPECT_EQ(after[i], before[i]);
        }
        // ...and from a hidden one.
        check.SetValue(0);
        EXPECT_TRUE(row_visible(false));
        check.SetValue(2);
        EXPECT_TRUE(row_visible(false));
        check.SetValue(1);
        EXPECT_TRUE(row_visible(true));
    }
}

// Each Click handler on its own, for each value the box can hold and each
// visibility the row can start from: 1 shows, 0 hides, 2 leaves it as it is.
TEST_F(MainWindow, EveryRowsClickHandlerGivesTheSameOutcomeForEachValue) {
    using Handler = void (Form1::*)();
    const Handler handlers[] = {&Form1::Check1_Click, &Form1::Check2_Click, &Form1::Check3_Click,
                                &Form1::Check4_Click, &Form1::Check5_Click, &Form1::Check6_Click,
                                &Form1::Check7_Click, &Form1::Check8_Click};
    const WPARAM states[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
    for (int player = 1; player <= 8; ++player) {
        for (int value = 0; value <= 2; ++value) {
            for (bool shown : {true, false}) {
                SCOPED_TRACE("player " + std::to_string(player) + ", value " +
                             std::to_string(value) + (shown ? ", shown" : ", hidden"));
                for (std::wstring_view suffix : BoxSuffixes)
                    c(box_name(player, suffix)).SetVisible(shown);
                // Set the state behind the runtime's back: no Click of its own.
                SendMessageW(c(check_name(player)).hwnd(), BM_SETCHECK, states[value], 0);
                const auto before = snapshot(form);
                (form.*handlers[player - 1])();
                const bool expected = value == 1 || (value == 2 && shown);
                const auto after = snapshot(form);
                for (std::size_t i = 0; i < before.size(); ++i) {
                    ControlState want = before[i];
                    for (std::wstring_view suffix : BoxSuffixes)
                        if (want.name == box_name(player, suffix)) want.visible = expected;
                    EXPECT_EQ(after[i], want) << narrow(want.name);
                }
            }
        }
        c(check_name(player)).SetValue(1);
    }
}

// ---- Keys ----------------------------------------------------------------

TEST_F(MainWindow, EnterAndEscapeInATextBoxPressNoButton) {
    fill_every_box();
    test::MessageBoxWatcher boxes;
    const auto windows = test::visible_windows();
    const auto before = snapshot(form);
    for (const wchar_t* name : {L"p1x", L"p8starty", L"numOfPatches", L"currentUnits"}) {
        SCOPED_TRACE(narrow(name));
        SetFocus(c(name).hwnd());
        test::press({{VK_RETURN}});
        test::press({{VK_ESCAPE}});
        test::pump(200);
        EXPECT_EQ(snapshot(form), before);
        EXPECT_EQ(test::focused_name(form), name);
    }
    EXPECT_TRUE(boxes.seen().empty());
    EXPECT_EQ(test::visible_windows(), windows);
    EXPECT_EQ(GetForegroundWindow(), form.hwnd());
}

TEST_F(MainWindow, AltSPressesStackItWhichReportsTheMissingScmToolkit) {
    fill_every_box();
    const auto before = snapshot(form);
    test::MessageBoxWatcher boxes;
    test::press({{'S', false, false, true}});
    ASSERT_TRUE(test::pump_until([&] { return !boxes.seen().empty(); }, 5000));
    test::pump(200);
    const auto seen = boxes.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Error: SCM Toolkit not open");
    EXPECT_EQ(seen[0].text, L"SCM Toolkit is not open! Please open it to proceed!");
    EXPECT_EQ(seen[0].buttons, 1);
    EXPECT_TRUE(seen[0].icon);
    EXPECT_EQ(snapshot(form), before);
    EXPECT_TRUE(test::pump_until([&] { return GetForegroundWindow() == form.hwnd(); }));
}

TEST_F(MainWindow, ClearAllAnswersToAltCAndToTheFileMenu) {
    const std::vector<test::Key> ways[] = {
        {{'C', false, false, true}},
        {{'F', false, false, true}, {'C'}},
    };
    for (const auto& keys : ways) {
        SCOPED_TRACE(keys.size());
        fill_every_box();
        SetFocus(c(L"p4y").hwnd());
        test::press_at_once(keys);
        EXPECT_TRUE(test::pump_until([&] { return c(L"numOfPatches").Text().empty(); }));
        for (const auto& control : form.controls())
            if (control->kind() == rt::ControlKind::TextBox) {
                EXPECT_EQ(control->Text(), L"");
            }
        EXPECT_EQ(c(L"totalUnits").Caption(), L"-- Total Units");
    }
}

TEST_F(MainWindow, AltHOpensTheHelpWindows) {
    struct Case {
        const char* what;
        wchar_t key;
        rt::Form* (*window)(Form1&);
    };
    const Case cases[] = {
        {"Instructions", 'I', [](Form1& f) -> rt::Form* { return f.instructions_window(); }},
        {"About", 'A', [](Form1& f) -> rt::Form* { return f.about_window(); }},
    };
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.what);
        test::activate(form);
        EXPECT_EQ(cs.window(form), nullptr);
        test::press_at_once({{'H', false, false, true}, {static_cast<WORD>(cs.key)}});
        ASSERT_TRUE(test::pump_until([&] {
            rt::Form* w = cs.window(form);
            return w && w->loaded() && GetForegroundWindow() == w->hwnd();
        }));
        EXPECT_TRUE(IsWindowVisible(cs.window(form)->hwnd()));
        EXPECT_EQ(GetWindow(cs.window(form)->hwnd(), GW_OWNER), nullptr);
        cs.window(form)->Unload();
    }
}

} // namespace
