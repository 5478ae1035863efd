// The Instructions and About windows, opened the way a user opens them: from
// the main window's Help menu with real keys, clicked and closed with real input.

#include "main_window/form1.h"
#include "runtime/design.h"
#include "support/ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using tolvane::Form1;
using Names = std::set<std::wstring>;

std::string narrow(std::wstring_view text) {
    return std::string(text.begin(), text.end());
}

RECT window_rect(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r;
}
bool same_rect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
// Each control's place within the window's client area, as (left, top, right, bottom).
std::vector<std::vector<long>> client_places(rt::Form& form) {
    std::vector<std::vector<long>> places;
    for (const auto& c : form.controls()) {
        RECT r = window_rect(c->hwnd());
        MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        places.push_back({r.left, r.top, r.right, r.bottom});
    }
    return places;
}

// Whether the window's own thread has taken the activation, with the focus
// inside the window, so that keys sent now reach it.
bool takes_keys(HWND w) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &gui)) return false;
    return GetForegroundWindow() == w && gui.hwndActive == w &&
           (gui.hwndFocus == w || IsChild(w, gui.hwndFocus));
}

// The page controls of the Instructions window; the title and the four buttons
// are on every page.
const Names stage1{L"Label7", L"Label2", L"Label3", L"Picture1"};
const Names stage2{L"Label8", L"Label4", L"Picture2"};
const Names stage3{L"Label9", L"Label5", L"Label6", L"Picture3"};
const Names every_page{L"Label1", L"Command1", L"Command2", L"Command3", L"Command4"};

Names visible_controls(rt::Form& form) {
    Names names;
    for (const auto& c : form.controls())
        if (c->Visible()) names.insert(std::wstring(c->name()));
    return names;
}
Names page_with_title_and_buttons(const Names& page) {
    Names all = every_page;
    all.insert(page.begin(), page.end());
    return all;
}

// Watches every control's visibility as it changes, and what a window shows
// at the moment it first appears on the screen.
class VisibilityRecorder {
public:
    struct Change {
        std::wstring name;
        bool shown;
        bool operator==(const Change&) const = default;
    };
    VisibilityRecorder() {
        active_ = this;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &proc, nullptr, GetCurrentThreadId());
    }
    ~VisibilityRecorder() {
        UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    std::vector<Change> changes;
    std::vector<Names> shown_windows; // visible controls as each window appeared

private:
    static LRESULT CALLBACK proc(int code, WPARAM wp, LPARAM lp) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && active_ && m->message == WM_SHOWWINDOW && m->lParam == 0) {
            const bool was = (GetWindowLongPtrW(m->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
            const bool now = m->wParam != 0;
            if (rt::Form* form = rt::Form::from_window(m->hwnd); form && now && !was) {
                active_->shown_windows.push_back(visible_controls(*form));
            } else if (rt::Form* owner = rt::Form::from_window(GetParent(m->hwnd));
                       owner && was != now) {
                for (const auto& c : owner->controls())
                    if (c->hwnd() == m->hwnd)
                        active_->changes.push_back({std::wstring(c->name()), now});
            }
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static inline VisibilityRecorder* active_ = nullptr;
    HHOOK hook_;
};

struct HelpCommand {
    const char* name;
    WORD key; // of the Help menu item
    rt::Form* (*instance)(Form1&);
    int client_width, client_height; // twips
};
const HelpCommand instructions{
    "Instructions", 'I', [](Form1& f) -> rt::Form* { return f.instructions_window(); }, 9360, 6555};
const HelpCommand about{"About", 'A', [](Form1& f) -> rt::Form* { return f.about_window(); }, 6750,
                        2730};

class HelpWindows : public ::testing::Test {
protected:
    void SetUp() override {
        main_.Show();
        test::activate(main_);
    }

    // Help > item with real keys on the main window; returns the window shown.
    rt::Form& choose(const HelpCommand& command) {
        test::activate(main_);
        EXPECT_TRUE(test::pump_until([&] { return takes_keys(main_.hwnd()); }));
        test::press_at_once({{'H', false, false, true}, {command.key}});
        const bool opened = test::pump_until([&] {
            rt::Form* f = command.instance(main_);
            return f && f->loaded() && takes_keys(f->hwnd());
        });
        if (!opened)
            throw std::runtime_error(std::string("Help > ") + command.name + " opened nothing");
        return *command.instance(main_);
    }
    rt::Form& open_instructions() { return choose(instructions); }
    void click_button(rt::Form& form, const wchar_t* name) {
        if (GetForegroundWindow() != form.hwnd()) test::activate(form); // uncovered first
        test::click(form.control(name).hwnd());
        test::pump_until([&] { return GetForegroundWindow() == form.hwnd(); });
    }

    void expect_fresh(rt::Form& form, const HelpCommand& command) {
        const unsigned dpi = form.dpi();
        RECT client;
        GetClientRect(form.hwnd(), &client);
        EXPECT_EQ(client.right, rt::twips_to_pixels(command.client_width, dpi));
        EXPECT_EQ(client.bottom, rt::twips_to_pixels(command.client_height, dpi));
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(form.hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT outer = window_rect(form.hwnd());
        const RECT& area = monitor.rcWork;
        EXPECT_NEAR(outer.left - area.left, area.right - outer.right, 1) << "centred across";
        EXPECT_NEAR(outer.top - area.top, area.bottom - outer.bottom, 1) << "centred down";
        EXPECT_EQ(test::focused_name(form), L"Command1");
        if (&command == &instructions) {
            EXPECT_EQ(visible_controls(form), page_with_title_and_buttons(stage1));
        }
    }

    Form1 main_;
};

TEST_F(HelpWindows, FirstOpeningIsCentredOnStageOneAndNeverShowsTheDesignState) {
    VisibilityRecorder recorder;
    rt::Form& form = open_instructions();
    expect_fresh(form, instructions);
    ASSERT_EQ(recorder.shown_windows.size(), 1u);
    EXPECT_EQ(recorder.shown_windows[0], page_with_title_and_buttons(stage1));
    EXPECT_EQ(form.design().caption, L"Instructions");

    rt::Form& box = choose(about);
    expect_fresh(box, about);
    EXPECT_EQ(box.design().caption, L"About");
}

class HelpWindowLifecycle : public HelpWindows,
                            public ::testing::WithParamInterface<const HelpCommand*> {};

TEST_P(HelpWindowLifecycle, ChoosingAgainWhileOpenOnlyBringsTheSameWindowToTheFront) {
    const HelpCommand& command = *GetParam();
    rt::Form& form = choose(command);
    const HWND window = form.hwnd();
    if (&command == &instructions) click_button(form, L"Command3");
    const auto places = client_places(form);
    SetWindowPos(window, nullptr, 20, 30, 700, 500, SWP_NOZORDER);
    const RECT moved = window_rect(window);
    const Names page = visible_controls(form);

    rt::Form& again = choose(command);
    EXPECT_EQ(&again, &form);
    EXPECT_EQ(again.hwnd(), window);
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_TRUE(same_rect(window_rect(window), moved));
    EXPECT_EQ(visible_controls(form), page);
    if (&command == &instructions) {
        EXPECT_TRUE(page.contains(L"Picture3"));
    }
    EXPECT_EQ(client_places(form), places) << "resizing moves or sizes no control";
}

TEST_P(HelpWindowLifecycle, EscapeLeavesTheWindowOpen) {
    rt::Form& form = choose(*GetParam());
    test::press({{VK_ESCAPE}});
    test::pump(100);
    EXPECT_TRUE(form.loaded());
    EXPECT_EQ(test::focused_name(form), L"Command1");
}

INSTANTIATE_TEST_SUITE_P(Both, HelpWindowLifecycle, ::testing::Values(&instructions, &about),
                         [](const auto& info) { return std::string(info.param->name); });

// Every way of closing a help window, each followed by a fresh opening.
enum class Closer { CloseButton, AltC, Space, Enter, CloseMessage, SystemMenuClose };
struct CloseCase {
    const HelpCommand* command;
    Closer closer;
    const char* name;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.command->name << ", " << c.name;
}

class HelpWindowClosing : public HelpWindows, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(HelpWindowClosing, ClosedWindowOpensAfreshFromItsDesign) {
    const HelpCommand& command = *GetParam().command;
    rt::Form& form = choose(command);
    if (&command == &instructions) click_button(form, L"Command4");
    SetWindowPos(form.hwnd(), nullptr, 5, 5, 900, 640, SWP_NOZORDER);
    const HWND window = form.hwnd();
    const HWND close_button = form.control(L"Command1").hwnd();
    SetFocus(close_button);

    switch (GetParam().closer) {
    case Closer::CloseButton:
        test::click(close_button);
        break;
    case Closer::AltC:
        test::press({{'C', false, false, true}});
        break;
    case Closer::Space:
        test::press({{VK_SPACE}});
        break;
    case Closer::Enter:
        test::press({{VK_RETURN}});
        break;
    case Closer::CloseMessage:
        PostMessageW(window, WM_CLOSE, 0, 0);
        break;
    case Closer::SystemMenuClose:
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    ASSERT_TRUE(test::pump_until([&] { return !IsWindow(window); }));
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(command.instance(main_), &form) << "the instance outlives its window";
    EXPECT_TRUE(IsWindowVisible(main_.hwnd()));

    rt::Form& again = choose(command);
    EXPECT_EQ(&again, &form);
    expect_fresh(again, command);
}

std::vector<CloseCase> close_cases() {
    const std::pair<Closer, const char*> closers[] = {
        {Closer::CloseButton, "CloseButton"},
        {Closer::AltC, "AltC"},
        {Closer::Space, "Space"},
        {Closer::Enter, "Enter"},
        {Closer::CloseMessage, "CloseBox"},
        {Closer::SystemMenuClose, "SystemMenuClose"},
    };
    std::vector<CloseCase> cases;
    for (const HelpCommand* command : {&instructions, &about})
        for (auto [closer, name] : closers)
            cases.push_back({command, closer, name});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWay, HelpWindowClosing, ::testing::ValuesIn(close_cases()),
                         [](const auto& info) {
                             return std::string(info.param.command->name) + info.param.name;
                         });

// Only real changes of visibility can be seen: a page's own controls appear
// first, in order, then the shown page's controls disappear, in order.
std::vector<VisibilityRecorder::Change> show_then_hide(const std::vector<std::wstring>& shown,
                                                       const std::vector<std::wstring>& hidden) {
    std::vector<VisibilityRecorder::Change> changes;
    for (const auto& name : shown)
        changes.push_back({name, true});
    for (const auto& name : hidden)
        changes.push_back({name, false});
    return changes;
}

TEST_F(HelpWindows, StageButtonsShowTheirOwnPageShowingBeforeHiding) {
    const std::vector<std::wstring> one{L"Label7", L"Label2", L"Label3", L"Picture1"};
    const std::vector<std::wstring> two{L"Label8", L"Label4", L"Picture2"};
    const std::vector<std::wstring> three{L"Label9", L"Label5", L"Label6", L"Picture3"};
    const struct {
        const wchar_t* button;
        const Names* page;
        std::vector<VisibilityRecorder::Change> changes;
    } steps[] = {
        {L"Command4", &stage2, show_then_hide(two, one)},
        {L"Command3", &stage3, show_then_hide(three, two)},
        {L"Command2", &stage1, show_then_hide(one, three)},
        {L"Command3", &stage3, show_then_hide(three, one)},
        {L"Command4", &stage2, show_then_hide(two, three)},
        {L"Command2", &stage1, show_then_hide(one, two)},
        {L"Command2", &stage1, {}},
        {L"Command4", &stage2, show_then_hide(two, one)},
        {L"Command4", &stage2, {}},
    };
    rt::Form& form = open_instructions();
    const std::wstring total = main_.control(L"totalUnits").Caption();
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "after " << narrow(step.button));
        VisibilityRecorder recorder;
        click_button(form, step.button);
        EXPECT_EQ(visible_controls(form), page_with_title_and_buttons(*step.page));
        EXPECT_EQ(recorder.changes, step.changes);
    }
    EXPECT_EQ(main_.control(L"totalUnits").Caption(), total);
}

TEST_F(HelpWindows, StageButtonsStandInOneRowWithStageTwoInTheMiddle) {
    rt::Form& form = open_instructions();
    const RECT one = window_rect(form.control(L"Command2").hwnd());
    const RECT two = window_rect(form.control(L"Command4").hwnd());
    const RECT three = window_rect(form.control(L"Command3").hwnd());
    const RECT close = window_rect(form.control(L"Command1").hwnd());
    EXPECT_EQ(form.control(L"Command2").Caption(), L"Stacking: Stage 1");
    EXPECT_EQ(form.control(L"Command4").Caption(), L"Stacking: Stage 2");
    EXPECT_EQ(form.control(L"Command3").Caption(), L"Stacking: Stage 3");
    EXPECT_LT(one.right, two.left);
    EXPECT_LT(two.right, three.left);
    EXPECT_TRUE(one.top == two.top && two.top == three.top);
    EXPECT_EQ(three.right, close.right);
    EXPECT_LT(three.bottom, close.top);
}

TEST_F(HelpWindows, TabFollowsTheTabIndexesOverTheVisibleControlsOfEachPage) {
    const struct {
        const wchar_t* button;
        std::vector<std::wstring> cycle; // from the opening focus
    } pages[] = {
        {L"Command2", {L"Command1", L"Picture1", L"Command2", L"Command3", L"Command4"}},
        {L"Command4", {L"Command1", L"Picture2", L"Command2", L"Command3", L"Command4"}},
        {L"Command3", {L"Command1", L"Command2", L"Command3", L"Command4", L"Picture3"}},
    };
    rt::Form& form = open_instructions();
    for (const auto& page : pages) {
        click_button(form, page.button);
        const auto& cycle = page.cycle;
        const std::size_t n = cycle.size();
        std::size_t at =
            std::find(cycle.begin(), cycle.end(), test::focused_name(form)) - cycle.begin();
        ASSERT_LT(at, n);
        for (std::size_t i = 0; i < n; ++i) {
            test::press({{VK_TAB}});
            at = (at + 1) % n;
            EXPECT_EQ(test::focused_name(form), cycle[at]) << "Tab " << i;
        }
        for (std::size_t i = 0; i < n; ++i) {
            test::press({{VK_TAB, true}});
            at = (at + n - 1) % n;
            EXPECT_EQ(test::focused_name(form), cycle[at]) << "Shift+Tab " << i;
        }
    }
}

TEST_F(HelpWindows, AboutWindowKeepsTheFocusOnItsOnlyButton) {
    rt::Form& form = choose(about);
    test::press({{VK_TAB}, {VK_TAB, true}, {VK_TAB}});
    EXPECT_EQ(test::focused_name(form), L"Command1");
}

// A caption wraps inside its label when it fits in the label's width and height.
bool fits(const rt::Control& label, bool one_line) {
    RECT box;
    GetClientRect(label.hwnd(), &box);
    HDC dc = GetDC(label.hwnd());
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label.hwnd(), WM_GETFONT, 0, 0)));
    const std::wstring text = label.Caption();
    RECT need{0, 0, box.right, 0};
    DrawTextW(dc, text.c_str(), -1, &need,
              DT_CALCRECT | (one_line ? DT_SINGLELINE : DT_WORDBREAK) | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label.hwnd(), dc);
    return need.right <= box.right && need.bottom <= box.bottom;
}

TEST_F(HelpWindows, StepTextsAreExactAndWrapWithinTheirLabels) {
    const std::wstring q = L"\"";
    const struct {
        const wchar_t* label;
        const wchar_t* button;
        std::wstring text;
        std::size_t length;
    } steps[] = {
        {L"Label2", L"Command2",
         L"1) Place the minerals on your map, making sure that there are no other geysers, "
         L"starting locations, or critters on the same horizontal space, all the way across the "
         L"map.",
         169},
        {L"Label3", L"Command2",
         L"2) Place your starting locations DIRECTLY underneath minerals, also making sure there "
         L"are no other items on the same horizontal space. See example pic of how your mini-map "
         L"should look in StarEdit after placing of mineral patches and starting locations:",
         252},
        {L"Label4", L"Command4",
         L"3) Save your map, then open it with SCM Toolkit.  Click on the " + q + L"units" + q +
             L" tab, then scroll down to the FIRST mineral patch that you wish to begin to stack.  "
             L"Be sure that the scroll bar on right hand side is selected (blinking), then switch "
             L"over to this application. See example pic:",
         279},
        {L"Label5", L"Command3",
         L"4) Making sure that all the proper fields are filled in, click the " + q + L"Stack It!" +
             q +
             L" button, as pictured below.  Focus should switch to SCM Toolkit, and the minerals "
             L"and starting locations should automatically (and very quickly) stacked.",
         231},
        {L"Label6", L"Command3", L"5) From SCM Toolkit, save the map, then enjoy!", 46},
    };
    rt::Form& form = open_instructions();
    for (const auto& step : steps) {
        SCOPED_TRACE(narrow(step.label));
        click_button(form, step.button);
        const rt::Control& label = form.control(step.label);
        const std::wstring caption = label.Caption();
        EXPECT_EQ(caption, step.text);
        EXPECT_EQ(caption.size(), step.length);
        EXPECT_TRUE(IsWindowVisible(label.hwnd()));
        EXPECT_TRUE(fits(label, false));
    }
    // Headings and the one-line texts of the About window stay on one line.
    for (const wchar_t* heading : {L"Label7", L"Label8", L"Label9", L"Label1"})
        EXPECT_TRUE(fits(form.control(heading), true));
    rt::Form& box = choose(about);
    for (const wchar_t* line : {L"Label1", L"Label2", L"Label3", L"Label4"})
        EXPECT_TRUE(fits(box.control(line), true));
    EXPECT_EQ(box.control(L"Label1").Caption(), L"Tolvane v1.2");
    EXPECT_EQ(box.control(L"Label2").Caption(), L"To be used in conjunction with SCM Toolkit");
}

TEST_F(HelpWindows, PicturesShowTheirBitmapsUnscaledFromTheTopLeft) {
    const struct {
        const wchar_t* picture;
        const wchar_t* button;
        int width, height;
    } pictures[] = {
        {L"Picture1", L"Command2", 600, 181},
        {L"Picture2", L"Command4", 528, 227},
        {L"Picture3", L"Command3", 518, 197},
    };
    const COLORREF ground = RGB(214, 211, 206);
    rt::Form& form = open_instructions();
    for (const auto& p : pictures) {
        SCOPED_TRACE(narrow(p.picture));
        click_button(form, p.button);
        const rt::Control& box = form.control(p.picture);
        UpdateWindow(box.hwnd());
        test::pump(50);

        BITMAP info{};
        ASSERT_TRUE(GetObjectW(box.picture(), sizeof info, &info));
        EXPECT_EQ(info.bmWidth, p.width);
        EXPECT_EQ(info.bmHeight, p.height);
        EXPECT_EQ(info.bmBitsPixel, 24);

        RECT inside;
        GetClientRect(box.hwnd(), &inside);
        HDC screen = GetDC(box.hwnd());
        HDC bitmap = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(bitmap, box.picture());
        EXPECT_EQ(GetPixel(screen, 2, 2), ground);
        const int shown_w = std::min<int>(inside.right, p.width);
        const int shown_h = std::min<int>(inside.bottom, p.height);
        int mismatches = 0;
        for (int y = 0; y < shown_h; y += 7)
            for (int x = 0; x < shown_w; x += 5)
                if (GetPixel(screen, x, y) != GetPixel(bitmap, x, y)) ++mismatches;
        EXPECT_EQ(mismatches, 0);
        // Past the picture's edge the box shows its own background.
        if (inside.right > p.width) {
            EXPECT_EQ(GetPixel(screen, p.width + 1, 3), GetSysColor(COLOR_BTNFACE));
        }
        SelectObject(bitmap, old);
        DeleteDC(bitmap);
        ReleaseDC(box.hwnd(), screen);
    }
}

TEST_F(HelpWindows, MainWindowWorksWithBothHelpWindowsOpen) {
    rt::Form& help = open_instructions();
    rt::Form& box = choose(about);
    // Moved off the main window, which they open over, as a user would.
    SetWindowPos(help.hwnd(), nullptr, 660, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(box.hwnd(), nullptr, 660, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT about_place = window_rect(box.hwnd());

    test::click(main_.control(L"currentUnits").hwnd());
    ASSERT_TRUE(test::pump_until([&] { return test::focused_name(main_) == L"currentUnits"; }));
    test::type(L"12");
    EXPECT_TRUE(test::pump_until(
        [&] { return main_.control(L"totalUnits").Caption() == L"292 Total Units"; }));

    click_button(help, L"Command3");
    click_button(help, L"Command1");
    ASSERT_TRUE(test::pump_until([&] { return !help.loaded(); }));
    EXPECT_TRUE(box.loaded());
    EXPECT_TRUE(same_rect(window_rect(box.hwnd()), about_place));
    EXPECT_EQ(main_.control(L"currentUnits").Text(), L"12");
    EXPECT_EQ(main_.control(L"totalUnits").Caption(), L"292 Total Units");
}

// The real program, as its own process: File > Exit ends it with both help
// windows open.
std::vector<std::wstring> window_titles_of(DWORD process) {
    struct Search {
        DWORD process;
        std::vector<std::wstring> titles;
    } search{process, {}};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == s->process && IsWindowVisible(w)) {
                wchar_t title[64]{};
                GetWindowTextW(w, title, 64);
                s->titles.emplace_back(title);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    std::sort(search.titles.begin(), search.titles.end());
    return search.titles;
}

HWND find_window(DWORD process, const wchar_t* title) {
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, nullptr, title))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

bool wait_for(const std::function<bool()>& done, int ms = 10000) {
    for (int waited = 0; !done(); waited += 20) {
        if (waited >= ms) return false;
        Sleep(20);
    }
    return true;
}

TEST(TolvaneProgram, ExitEndsTheProgramWithBothHelpWindowsOpen) {
    std::wstring exe;
    for (const char* p = TOLVANE_EXE; *p; ++p)
        exe += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    if (exe.starts_with(L"\\")) exe = L"Z:" + exe; // a Unix path seen from Wine
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + exe + L"\"";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    CloseHandle(info.hThread);
    const DWORD pid = info.dwProcessId;

    HWND main = nullptr;
    ASSERT_TRUE(wait_for([&] { return (main = find_window(pid, L"Tolvane v1.2")) != nullptr; }));
    // The keys go to whichever window is active when they arrive, and under
    // X a window just opened may take the activation back from the main
    // window a moment later. A command that had no effect is given again, as
    // a user would; what counts is that it takes effect.
    auto choose = [&](WORD menu, WORD item, const std::function<bool()>& done) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            SetForegroundWindow(main);
            if (!wait_for([&] { return takes_keys(main); }, 3000)) continue;
            test::press_at_once({{menu, false, false, true}, {item}});
            if (wait_for(done, 3000)) return true;
        }
        return false;
    };
    auto opened = [&](const wchar_t* title) {
        return [=] {
            HWND w = find_window(pid, title);
            return w && takes_keys(w);
        };
    };
    EXPECT_TRUE(choose('H', 'I', opened(L"Instructions")));
    EXPECT_TRUE(choose('H', 'A', opened(L"About")));
    EXPECT_EQ(window_titles_of(pid),
              (std::vector<std::wstring>{L"About", L"Instructions", L"Tolvane v1.2"}));

    choose('F', 'X', [&] { return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; });
    const bool ended = WaitForSingleObject(info.hProcess, 20000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(info.hProcess, 1);
    EXPECT_TRUE(ended);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(window_titles_of(pid).empty());
    CloseHandle(info.hProcess);
}

} // namespace
