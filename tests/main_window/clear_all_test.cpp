// Clear All, from the button, its access key and the File menu, out of the
// states a user can leave the main window in.

#include "main_window/form1.h"
#include "support/ui.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr std::array<std::wstring_view, 4> BoxSuffixes{L"x", L"y", L"startx", L"starty"};
constexpr wchar_t Warning[] = L"OMG! WTF? Negative? What have you done!!";

std::wstring box_name(int player, std::wstring_view suffix) {
    return L"p" + std::to_wstring(player) + std::wstring(suffix);
}
std::wstring check_name(int player) {
    return L"Check" + std::to_wstring(player);
}

// The main window, noting which of its commands ran and every text change.
class RecordingForm1 : public tolvane::Form1 {
public:
    int button_clicks = 0;
    int menu_clicks = 0;
    int stack_clicks = 0;
    std::vector<std::wstring> changes;
    std::wstring patches_when_current_units_changed;

protected:
    void on_click(rt::Control& c) override {
        if (c.is(L"Command2")) ++button_clicks;
        if (c.is(L"Command1")) ++stack_clicks;
        Form1::on_click(c);
    }
    void on_menu(const rt::MenuItemDesign& item) override {
        if (item.name == L"ClearAll") ++menu_clicks;
        Form1::on_menu(item);
    }
    void on_change(rt::Control& c) override {
        changes.emplace_back(c.name());
        if (c.is(L"currentUnits"))
            patches_when_current_units_changed = control(L"numOfPatches").Text();
        Form1::on_change(c);
    }
};

struct ControlState {
    std::wstring name;
    int index;
    bool visible;
    std::wstring text;
    int value;
    bool operator==(const ControlState&) const = default;
};

// Readable failures: the state as the user would describe it.
void PrintTo(const ControlState& s, std::ostream* os) {
    for (wchar_t ch : s.name)
        *os << static_cast<char>(ch);
    if (s.index != rt::NoIndex) *os << "(" << s.index << ")";
    *os << (s.visible ? " shown" : " hidden") << " \"";
    for (wchar_t ch : s.text)
        *os << (ch < 128 ? static_cast<char>(ch) : '?');
    *os << "\"";
    if (s.value >= 0) *os << " value " << s.value;
}

std::vector<ControlState> snapshot(rt::Form& form) {
    std::vector<ControlState> states;
    for (const auto& c : form.controls())
        states.push_back({std::wstring(c->name()), c->index(), c->Visible(), c->Text(),
                          c->kind() == rt::ControlKind::CheckBox ? c->Value() : -1});
    return states;
}

// What Clear All must leave of a window that was in `before`.
std::vector<ControlState> cleared(std::vector<ControlState> before) {
    for (ControlState& s : before) {
        if (s.name.starts_with(L"p") || s.name == L"numOfPatches" || s.name == L"currentUnits")
            s.text.clear();
        if (s.name == L"totalUnits") s.text = L"-- Total Units";
        if (s.name == L"negative") s.text.clear();
    }
    return before;
}

class ClearAllTest : public ::testing::Test {
public:
    void SetUp() override {
        form.Show();
        test::activate(form);
        ASSERT_EQ(GetForegroundWindow(), form.hwnd());
    }
    rt::Control& c(std::wstring_view name) { return form.control(name); }

    void fill_every_box() {
        for (int player = 1; player <= 8; ++player)
            for (std::wstring_view suffix : BoxSuffixes)
                c(box_name(player, suffix)).SetText(std::to_wstring(player) + std::wstring(suffix));
        c(L"numOfPatches").SetText(L"35");
        c(L"currentUnits").SetText(L"10");
    }

    RecordingForm1 form;
};

// ---- From each state, by each way of giving the command ------------------

struct Way {
    const char* name;
    std::function<void(RecordingForm1&)> give;
    bool by_menu;
};

const Way ways[] = {
    {"ButtonClicked", [](RecordingForm1& f) { test::click(f.control(L"Command2").hwnd()); }, false},
    {"AltC",
     [](RecordingForm1&) {
         test::press({{'C', false, false, true}});
     },
     false},
    {"FileMenuByKeys",
     [](RecordingForm1&) {
         test::press_at_once({{'F', false, false, true}, {'C'}});
     },
     true},
};

void PrintTo(const Way& way, std::ostream* os) {
    *os << way.name;
}

struct State {
    const char* what;
    std::function<void(ClearAllTest&, RecordingForm1&)> reach;
};

class ClearAllFrom : public ClearAllTest, public ::testing::WithParamInterface<Way> {
protected:
    // Gives the command and waits until it has run.
    void clear_all() {
        const Way& way = GetParam();
        const int before = way.by_menu ? form.menu_clicks : form.button_clicks;
        test::activate(form);
        way.give(form);
        ASSERT_TRUE(test::pump_until(
            [&] { return (way.by_menu ? form.menu_clicks : form.button_clicks) == before + 1; }));
        test::pump(50);
        EXPECT_EQ(way.by_menu ? form.button_clicks : form.menu_clicks, 0)
            << "the other command ran";
    }
};

const State states[] = {
    {"right after start", [](ClearAllTest&, RecordingForm1&) {}},
    {"every box filled, a total of 290",
     [](ClearAllTest& t, RecordingForm1& f) {
         t.fill_every_box();
         ASSERT_EQ(f.control(L"totalUnits").Caption(), L"290 Total Units");
     }},
    {"a negative total typed in",
     [](ClearAllTest& t, RecordingForm1& f) {
         t.fill_every_box();
         f.control(L"currentUnits").SetText(L"");
         SetFocus(f.control(L"currentUnits").hwnd());
         test::type(L"-300");
         ASSERT_EQ(f.control(L"totalUnits").Caption(), L"-20 Total Units?!");
         ASSERT_EQ(f.control(L"negative").Caption(), Warning);
     }},
    {"a patch count that is no number",
     [](ClearAllTest& t, RecordingForm1& f) {
         t.fill_every_box();
         f.control(L"numOfPatches").SetText(L"abc");
     }},
    {"rows unticked by the user with text in their hidden boxes",
     [](ClearAllTest& t, RecordingForm1& f) {
         t.fill_every_box();
         for (int player : {2, 5, 7})
             test::click(f.control(check_name(player)).hwnd());
         ASSERT_FALSE(f.control(L"p5starty").Visible());
     }},
    {"every row unticked",
     [](ClearAllTest& t, RecordingForm1& f) {
         t.fill_every_box();
         for (int player = 1; player <= 8; ++player)
             f.control(check_name(player)).SetValue(0);
     }},
};

TEST_P(ClearAllFrom, EveryStateEndsWithEmptyBoxesAndTheDashes) {
    for (const State& state : states) {
        SCOPED_TRACE(state.what);
        for (int player = 1; player <= 8; ++player)
            c(check_name(player)).SetValue(1);
        state.reach(*this, form);
        test::MessageBoxWatcher boxes;
        const auto windows = test::visible_windows();
        const auto before = snapshot(form);

        clear_all();
        const auto after = snapshot(form);
        EXPECT_EQ(after, cleared(before));

        // A second time changes nothing that can be seen.
        clear_all();
        EXPECT_EQ(snapshot(form), after);

        EXPECT_TRUE(boxes.seen().empty());
        EXPECT_EQ(test::visible_windows(), windows);

        // Rows that were hidden come back empty.
        for (int player = 1; player <= 8; ++player) {
            c(check_name(player)).SetValue(1);
            for (std::wstring_view suffix : BoxSuffixes) {
                EXPECT_TRUE(c(box_name(player, suffix)).Visible());
                EXPECT_EQ(c(box_name(player, suffix)).Text(), L"");
            }
        }
    }
}

TEST_P(ClearAllFrom, StackItAfterwardsShowsNothingAndActivatesNothing) {
    fill_every_box();
    clear_all();
    test::MessageBoxWatcher boxes;
    const auto windows = test::visible_windows();
    // Every row ticked, then with the patch count typed again.
    for (const wchar_t* patches : {L"", L"35"}) {
        SCOPED_TRACE(patches);
        if (*patches) {
            SetFocus(c(L"numOfPatches").hwnd());
            test::type(patches);
        }
        const int stacks = form.stack_clicks;
        test::press({{'S', false, false, true}});
        ASSERT_TRUE(test::pump_until([&] { return form.stack_clicks == stacks + 1; }));
        test::pump(300);
        EXPECT_TRUE(boxes.seen().empty());
        EXPECT_EQ(GetForegroundWindow(), form.hwnd());
        EXPECT_EQ(test::visible_windows(), windows);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, ClearAllFrom, ::testing::ValuesIn(ways),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Inside one Clear All ------------------------------------------------

TEST_F(ClearAllTest, EmptiesTheCoordinateBoxesInPlayerOrderThenTheCountBoxes) {
    fill_every_box();
    form.changes.clear();
    test::click(c(L"Command2").hwnd());
    std::vector<std::wstring> expected;
    for (std::wstring_view suffix : BoxSuffixes)
        for (int player = 1; player <= 8; ++player)
            expected.push_back(box_name(player, suffix));
    expected.push_back(L"currentUnits");
    expected.push_back(L"numOfPatches");
    EXPECT_EQ(form.changes, expected);
    // The counter's first run still saw the old patch count.
    EXPECT_EQ(form.patches_when_current_units_changed, L"35");
}

TEST_F(ClearAllTest, LeavesAnOpenHelpWindowAsItIs) {
    fill_every_box();
    form.About_Click();
    ASSERT_NE(form.about_window(), nullptr);
    HWND about = form.about_window()->hwnd();
    test::activate(form);
    test::press({{'C', false, false, true}});
    EXPECT_TRUE(test::pump_until([&] { return c(L"numOfPatches").Text().empty(); }));
    EXPECT_TRUE(form.about_window()->loaded());
    EXPECT_EQ(form.about_window()->hwnd(), about);
    EXPECT_TRUE(IsWindowVisible(about));
    form.about_window()->Unload();
}

} // namespace
