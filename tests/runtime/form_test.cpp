// The form model under every window of the program, through a small window
// of the test's own: loading, events raised by code and by the user, Unload.

#include "runtime/errors.h"
#include "runtime/form.h"
#include "support/ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rt::Align;
using rt::NoIndex;
using enum rt::ControlKind;

// clang-format off
constexpr rt::ControlDesign probe_controls[] = {
    // name       index    kind           Left  Top   Width Height caption   font                   align          tab
    {L"Go",       NoIndex, CommandButton, 120,  120,  1500, 450,  L"&Go",    rt::verdana(975),      Align::Center, 0},
    {L"Name",     NoIndex, TextBox,       150,  900,  1500, 300,  L"start",  rt::DefaultFont,       Align::Left,   1},
    {L"Tick",     NoIndex, CheckBox,      150,  1500, 1500, 300,  L"Tick",   rt::verdana(825, true), Align::Left,  2},
    {L"Note",     0,       Label,         1800, 150,  1500, 300,  L"zero",   rt::verdana(825),      Align::Left,   3},
    {L"Note",     1,       Label,         1800, 600,  1500, 300,  L"one",    rt::verdana(825),      Align::Right,  4},
};
// clang-format on
constexpr rt::FormDesign probe_design{L"Probe", L"Probe window", 3600, 2400, probe_controls};

class ProbeForm : public rt::Form {
public:
    ProbeForm() : rt::Form(probe_design) {}

    std::vector<std::wstring> log;
    int loads = 0;
    bool visible_during_load = false;
    bool change_name_on_tick = false;

protected:
    void Form_Load() override {
        ++loads;
        visible_during_load = IsWindowVisible(hwnd()) != 0;
        log.push_back(L"load");
    }
    void on_click(rt::Control& c) override {
        std::wstring entry = L"click " + std::wstring(c.name());
        if (c.kind() == CheckBox) entry += L" " + std::to_wstring(c.Value());
        log.push_back(entry);
        if (c.is(L"Tick") && change_name_on_tick) {
            control(L"Name").SetText(L"ticked");
            log.push_back(L"click handler ends");
        }
    }
    void on_change(rt::Control& c) override {
        log.push_back(L"change " + std::wstring(c.name()) + L" " + c.Text());
    }
};

class RuntimeForm : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        test::activate(form);
        ASSERT_EQ(GetForegroundWindow(), form.hwnd());
        form.log.clear();
    }
    rt::Control& c(std::wstring_view name, int index = NoIndex) {
        return form.control(name, index);
    }
    ProbeForm form;
};

TEST_F(RuntimeForm, ShowLoadsOnceAndRunsLoadBeforeTheWindowIsSeen) {
    EXPECT_EQ(form.loads, 1);
    EXPECT_FALSE(form.visible_during_load);
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
    HWND first = form.hwnd();
    c(L"Name").SetText(L"kept");
    form.Show();
    test::pump(50);
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(form.hwnd(), first);
    EXPECT_EQ(c(L"Name").Text(), L"kept");
    EXPECT_EQ(rt::Form::from_window(first), &form);
}

TEST_F(RuntimeForm, EventsRaisedByCodeRunInsideTheAssignment) {
    form.change_name_on_tick = true;
    form.log.push_back(L"before");
    c(L"Tick").SetValue(1);
    form.log.push_back(L"after");
    const std::vector<std::wstring> expected = {
        L"before", L"click Tick 1", L"change Name ticked", L"click handler ends", L"after",
    };
    EXPECT_EQ(form.log, expected);
}

TEST_F(RuntimeForm, OnlyAChangedValueRaisesClick) {
    struct Step {
        int value;
        bool raises;
    };
    const Step steps[] = {{0, false}, {1, true}, {1, false}, {2, true},
                          {2, false}, {0, true}, {0, false}, {2, true}};
    rt::Control& tick = c(L"Tick");
    for (const Step& step : steps) {
        SCOPED_TRACE(step.value);
        form.log.clear();
        tick.SetValue(step.value);
        EXPECT_EQ(tick.Value(), step.value);
        const std::vector<std::wstring> expected =
            step.raises ? std::vector<std::wstring>{L"click Tick " + std::to_wstring(step.value)}
                        : std::vector<std::wstring>{};
        EXPECT_EQ(form.log, expected);
    }
    for (int bad : {-1, 3}) {
        form.log.clear();
        EXPECT_THROW(tick.SetValue(bad), rt::RuntimeError);
        EXPECT_EQ(tick.Value(), 2);
        EXPECT_TRUE(form.log.empty());
    }
}

TEST_F(RuntimeForm, TextSetFromCodeRaisesOneChangeAndCaptionsNone) {
    c(L"Name").SetText(L"abc");
    EXPECT_EQ(c(L"Name").Text(), L"abc");
    c(L"Note", 1).SetCaption(L"new");
    c(L"Go").SetCaption(L"&Went");
    EXPECT_EQ(c(L"Note", 1).Caption(), L"new");
    EXPECT_EQ(c(L"Note", 0).Caption(), L"zero");
    EXPECT_EQ(form.log, std::vector<std::wstring>{L"change Name abc"});
}

TEST_F(RuntimeForm, TheUsersActionsRaiseTheSameEvents) {
    struct Case {
        const char* what;
        void (*act)(ProbeForm&);
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {"a click on the check box",
         [](ProbeForm& f) { test::click(f.control(L"Tick").hwnd()); },
         {L"click Tick 1"}},
        {"Space on the check box",
         [](ProbeForm&) { test::press({{VK_SPACE}}); },
         {L"click Tick 0"}},
        {"a click on the button",
         [](ProbeForm& f) { test::click(f.control(L"Go").hwnd()); },
         {L"click Go"}},
        {"the button's access key",
         [](ProbeForm&) {
             test::press({{'G', false, false, true}});
         },
         {L"click Go"}},
        {"keys typed into the text box",
         [](ProbeForm& f) {
             SetFocus(f.control(L"Name").hwnd());
             test::press({{VK_END}});
             test::type(L"ed");
         },
         {L"change Name starte", L"change Name started"}},
        {"Enter and Escape in the text box",
         [](ProbeForm&) {
             test::press({{VK_RETURN}, {VK_ESCAPE}});
         },
         {}},
    };
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.what);
        form.log.clear();
        cs.act(form);
        test::pump(50);
        EXPECT_EQ(form.log, cs.expected);
    }
}

TEST_F(RuntimeForm, UnloadDestroysTheWindowAndShowLoadsItAfresh) {
    c(L"Name").SetText(L"typed");
    c(L"Tick").SetValue(1);
    c(L"Note", 0).SetCaption(L"changed");
    HWND old = form.hwnd();
    HWND old_child = c(L"Name").hwnd();
    form.Unload();
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(IsWindow(old_child));
    EXPECT_TRUE(form.controls().empty());

    form.log.clear();
    form.Show();
    test::activate(form);
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(form.log, std::vector<std::wstring>{L"load"}); // design texts raise no Change
    EXPECT_EQ(c(L"Name").Text(), L"start");
    EXPECT_EQ(c(L"Tick").Value(), 0);
    EXPECT_EQ(c(L"Note", 0).Caption(), L"zero");
    EXPECT_EQ(test::focused_name(form), L"Go");
}

TEST_F(RuntimeForm, TheCloseBoxUnloadsAndKeepsTheInstance) {
    SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.loaded());
    form.Show();
    EXPECT_EQ(form.loads, 2);
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
}

TEST_F(RuntimeForm, HidingTheFocusedControlPassesTheFocusOnAndKeepsItsText) {
    SetFocus(c(L"Name").hwnd());
    c(L"Name").SetVisible(false);
    EXPECT_FALSE(c(L"Name").Visible());
    EXPECT_EQ(test::focused_name(form), L"Tick");
    EXPECT_EQ(c(L"Name").Text(), L"start");
    test::press({{VK_TAB}, {VK_TAB}});
    EXPECT_EQ(test::focused_name(form), L"Tick"); // the hidden box is skipped
    c(L"Name").SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(c(L"Name").hwnd()));
    EXPECT_TRUE(form.log.empty());
}

TEST_F(RuntimeForm, ControlsAreFoundByNameAndIndex) {
    EXPECT_EQ(c(L"Note", 0).Caption(), L"zero");
    EXPECT_EQ(c(L"Note", 1).Caption(), L"one");
    EXPECT_THROW(c(L"Note"), rt::RuntimeError);
    EXPECT_THROW(c(L"Missing"), rt::RuntimeError);
    EXPECT_THROW(c(L"Note", 2), rt::RuntimeError);
}

struct TwipsCase {
    int twips;
    unsigned dpi;
    int pixels;
};
const TwipsCase twips_cases[] = {
    {0, 96, 0},       {15, 96, 1},      {1440, 96, 96}, {8205, 96, 547},  {7, 96, 0},
    {8, 96, 1},       {-15, 96, -1},    {-8, 96, -1},   {1440, 120, 120}, {12, 120, 1},
    {1440, 144, 144}, {6975, 144, 698}, {1, 1440, 1},
};

TEST(Twips, ConvertToTheNearestPixel) {
    for (const TwipsCase& tc : twips_cases) {
        SCOPED_TRACE(std::to_string(tc.twips) + " twips at " + std::to_string(tc.dpi));
        EXPECT_EQ(rt::twips_to_pixels(tc.twips, tc.dpi), tc.pixels);
    }
}

TEST_F(RuntimeForm, LaysOutTheClientAreaAndControlsInPixels) {
    if (form.dpi() != 96) GTEST_SKIP() << "pixel sizes are checked at 96 dpi";
    RECT client;
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 160);
    RECT r;
    GetWindowRect(c(L"Name").hwnd(), &r);
    MapWindowPoints(HWND_DESKTOP, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 20);
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c(L"Tick").hwnd(), WM_GETFONT, 0, 0)),
               sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

} // namespace
