// The stacking run end to end: the real tolvane.exe and a stand-in for SCM
// Toolkit run as separate programs, and the test works Tolvane's window from
// outside with real mouse and key input, as a user would.

#include "e2e/desktop.h"
#include "main_window/form1_design.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>

namespace {

using desktop::ScmToolkitDouble;
using scm_double::Position;

constexpr wchar_t MainTitle[] = L"Tolvane v1.2";
constexpr wchar_t MessageTitle[] = L"Error: SCM Toolkit not open";
constexpr wchar_t MessagePrompt[] = L"SCM Toolkit is not open! Please open it to proceed!";
constexpr int KeyWaitMs = 120000;

struct Tile {
    int x, y;
    // Where a unit typed with these tile coordinates ends up, in pixels.
    Position pixels() const { return {x * 32.0, y * 32.0 + 16}; }
    std::wstring x_text() const { return std::to_wstring(x); }
    std::wstring y_text() const { return std::to_wstring(y); }
};

std::wstring box_name(int player, std::wstring_view suffix) {
    return L"p" + std::to_wstring(player) + std::wstring(suffix);
}

// Tolvane as its user sees it: a window whose controls are found where the
// design puts them.
class Tolvane {
public:
    Tolvane() : process_(desktop::windows_path(TOLVANE_EXE), L"") {
        if (process_.started()) hwnd_ = desktop::wait_for_window(process_.id(), MainTitle);
    }

    HWND hwnd() const { return hwnd_; }
    DWORD process_id() const { return process_.id(); }

    HWND control(std::wstring_view name) const {
        for (const rt::ControlDesign& c : tolvane::Form1Design.controls) {
            if (c.name != name || c.index != rt::NoIndex) continue;
            const unsigned dpi = GetDpiForWindow(hwnd_) ? GetDpiForWindow(hwnd_) : 96;
            const POINT expected{rt::twips_to_pixels(c.left, dpi), rt::twips_to_pixels(c.top, dpi)};
            const wchar_t* cls = c.kind == rt::ControlKind::TextBox ? L"Edit" : L"Button";
            for (HWND child : desktop::children(hwnd_, cls)) {
                RECT r;
                GetWindowRect(child, &r);
                POINT at{r.left, r.top};
                ScreenToClient(hwnd_, &at);
                if (at.x == expected.x && at.y == expected.y) return child;
            }
        }
        ADD_FAILURE() << "no control found for this name";
        return nullptr;
    }

    std::wstring text(std::wstring_view name) const { return desktop::text_of(control(name)); }

    int tick(int player) const {
        DWORD_PTR state = 0;
        SendMessageTimeoutW(control(L"Check" + std::to_wstring(player)), BM_GETCHECK, 0, 0,
                            SMTO_ABORTIFHUNG, 5000, &state);
        return static_cast<int>(state);
    }

    // Clicks the row's check box when its tick is not as wanted.
    void set_ticked(int player, bool ticked) {
        const int wanted = ticked ? BST_CHECKED : BST_UNCHECKED;
        if (tick(player) == wanted) return;
        ASSERT_TRUE(desktop::click_into(control(L"Check" + std::to_wstring(player))))
            << "row " << player;
        EXPECT_TRUE(desktop::wait_until([&] { return tick(player) == wanted; }, 5000))
            << "row " << player;
    }

    // Clicks into the box, selects what it holds, deletes it and types the text.
    void fill(std::wstring_view name, std::wstring_view text) {
        ASSERT_TRUE(desktop::click_into(control(name)))
            << "box " << std::string(name.begin(), name.end());
        desktop::tap(VK_HOME);
        desktop::press(VK_SHIFT, true);
        desktop::tap(VK_END);
        desktop::press(VK_SHIFT, false);
        desktop::tap(VK_DELETE);
        desktop::type(text);
        EXPECT_TRUE(desktop::wait_until([&] { return this->text(name) == text; }, 5000))
            << "box " << std::string(name.begin(), name.end());
    }

    void fill_row(int player, Tile patch, Tile start) {
        fill(box_name(player, L"x"), patch.x_text());
        fill(box_name(player, L"y"), patch.y_text());
        fill(box_name(player, L"startx"), start.x_text());
        fill(box_name(player, L"starty"), start.y_text());
    }

    // Everything a run must leave as it was: the ticks and every box's text.
    std::map<std::wstring, std::wstring> state() const {
        std::map<std::wstring, std::wstring> s;
        for (int player = 1; player <= 8; ++player) {
            s[L"Check" + std::to_wstring(player)] = std::to_wstring(tick(player));
            for (std::wstring_view suffix : {L"x", L"y", L"startx", L"starty"})
                s[box_name(player, suffix)] = text(box_name(player, suffix));
        }
        s[L"numOfPatches"] = text(L"numOfPatches");
        s[L"currentUnits"] = text(L"currentUnits");
        return s;
    }

    // The message boxes this program shows now.
    std::vector<HWND> message_boxes() const {
        return desktop::top_level_windows(process_.id(), L"#32770");
    }

private:
    desktop::ChildProcess process_;
    HWND hwnd_ = nullptr;
};

// The keys a script of these entries makes, in order, and the positions
// units 1, 2, ... end at.
struct Expected {
    std::vector<unsigned> keys;
    std::vector<Position> positions;
    void add(Tile t) {
        const Position p = t.pixels();
        scm_double::append_entry_keys(keys, std::to_wstring(static_cast<long long>(p.x)),
                                      std::to_wstring(static_cast<long long>(p.y)));
        positions.push_back(p);
    }
};

class StackingRun : public ::testing::Test {
protected:
    void start_tolvane() {
        tolvane_.emplace();
        ASSERT_NE(tolvane_->hwnd(), nullptr) << "tolvane.exe did not show its window";
        ASSERT_TRUE(desktop::bring_to_front(tolvane_->hwnd()));
    }

    // Only this row ticked, with this patch count and these boxes.
    void only_row(int player, std::wstring_view count, Tile patch, Tile start) {
        for (int p = 1; p <= 8; ++p)
            tolvane_->set_ticked(p, p == player);
        tolvane_->fill(L"numOfPatches", count);
        tolvane_->fill_row(player, patch, start);
    }

    // "&Stack It!" by its access key, the way a quick user presses it: Alt
    // is let go only after Tolvane has started the run.
    void press_stack_it() { desktop::alt_chord_held('S', 300); }

    // The double's report once the expected keys are in, checked for what
    // every good run must show: exactly the script's keys in order, none with
    // a modifier, none outside the X and Y fields, one activation.
    scm_double::Report delivered(const ScmToolkitDouble& scm, const Expected& expected,
                                 LRESULT activations_before) {
        scm.wait_for_keys(static_cast<int>(expected.keys.size()), KeyWaitMs);
        scm_double::Report r = scm.report();
        EXPECT_EQ(r.keys, static_cast<int>(expected.keys.size()));
        EXPECT_TRUE(r.sequence == expected.keys) << "keys lost, added or out of order";
        EXPECT_EQ(r.modified_keys, 0) << "keys arrived with Shift, Ctrl or Alt down";
        EXPECT_EQ(r.stray_chars, 0) << "characters typed outside the X and Y fields";
        EXPECT_EQ(r.activations, activations_before + 1);
        return r;
    }

    std::optional<Tolvane> tolvane_;
};

TEST_F(StackingRun, WorkedExampleMovesSixUnitsAndLeavesTheRest) {
    ScmToolkitDouble scm;
    ASSERT_NE(scm.hwnd(), nullptr);
    start_tolvane();
    for (int p : {1, 2, 3, 4, 5, 7})
        tolvane_->set_ticked(p, false);
    tolvane_->fill(L"numOfPatches", L"2");
    tolvane_->fill_row(6, {96, 105}, {96, 107});
    tolvane_->fill_row(8, {45, 25}, {45, 27});

    const LRESULT activations = scm.query(scm_double::Activations);
    press_stack_it();

    Expected expected;
    for (Tile t :
         {Tile{96, 105}, Tile{96, 105}, Tile{45, 25}, Tile{45, 25}, Tile{96, 107}, Tile{45, 27}})
        expected.add(t);
    const scm_double::Report r = delivered(scm, expected, activations);
    ASSERT_EQ(r.units.size(), static_cast<std::size_t>(scm_double::default_units));
    const std::array<Position, 6> moved{
        {{3072, 3376}, {3072, 3376}, {1440, 816}, {1440, 816}, {3072, 3440}, {1440, 880}}};
    for (std::size_t i = 0; i < moved.size(); ++i)
        EXPECT_EQ(r.units[i], moved[i]) << "unit " << i + 1;
    for (std::size_t i = moved.size(); i < r.units.size(); ++i)
        EXPECT_EQ(r.units[i], scm_double::initial_position(static_cast<int>(i) + 1))
            << "unit " << i + 1;
}

TEST_F(StackingRun, AllRowsWithTheDefaultCountMove288Units) {
    constexpr int units = 300;
    ScmToolkitDouble scm(L"Scm Toolkit", units);
    ASSERT_NE(scm.hwnd(), nullptr);
    start_tolvane();
    // The window opens with every row ticked and 35 patches per player.
    for (int p = 1; p <= 8; ++p)
        ASSERT_EQ(tolvane_->tick(p), BST_CHECKED) << "row " << p;
    ASSERT_EQ(tolvane_->text(L"numOfPatches"), L"35");
    const auto patch = [](int p) { return Tile{20 + 9 * p, 30 + 7 * p}; };
    const auto start = [](int p) { return Tile{21 + 9 * p, 33 + 7 * p}; };
    for (int p = 1; p <= 8; ++p)
        tolvane_->fill_row(p, patch(p), start(p));

    const LRESULT activations = scm.query(scm_double::Activations);
    press_stack_it();

    Expected expected;
    for (int p = 1; p <= 8; ++p)
        for (int k = 0; k < 35; ++k)
            expected.add(patch(p));
    for (int p = 1; p <= 8; ++p)
        expected.add(start(p));
    ASSERT_EQ(expected.positions.size(), 288u);
    const scm_double::Report r = delivered(scm, expected, activations);
    ASSERT_EQ(r.units.size(), static_cast<std::size_t>(units));
    int wrong = 0;
    for (std::size_t i = 0; i < r.units.size(); ++i) {
        const Position want = i < expected.positions.size()
                                  ? expected.positions[i]
                                  : scm_double::initial_position(static_cast<int>(i) + 1);
        if (r.units[i] != want && ++wrong <= 5)
            ADD_FAILURE() << "unit " << i + 1 << " at " << r.units[i] << " instead of " << want;
    }
    EXPECT_EQ(wrong, 0);
}

class TitleCase : public StackingRun, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(TitleCase, FindsScmToolkitWhateverTheLetterCase) {
    ScmToolkitDouble scm(GetParam());
    ASSERT_NE(scm.hwnd(), nullptr);
    start_tolvane();
    only_row(4, L"1", {10, 20}, {11, 22});
    const LRESULT activations = scm.query(scm_double::Activations);
    press_stack_it();

    Expected expected;
    expected.add({10, 20});
    expected.add({11, 22});
    const scm_double::Report r = delivered(scm, expected, activations);
    ASSERT_GE(r.units.size(), 3u);
    EXPECT_EQ(r.units[0], (Position{320, 656}));
    EXPECT_EQ(r.units[1], (Position{352, 720}));
    EXPECT_EQ(r.units[2], scm_double::initial_position(3));
}

INSTANTIATE_TEST_SUITE_P(e2e, TitleCase, ::testing::Values(L"SCM TOOLKIT", L"scm toolkit"),
                         [](const auto& info) { return info.index == 0 ? "Upper" : "Lower"; });

// A standard icon drawn as a message box draws it, compared pixel by pixel
// with what the screen shows in `shown`: the number of opaque pixels that differ.
int icon_difference(HWND shown, LPCWSTR which) {
    const int size = GetSystemMetrics(SM_CXICON);
    RECT r;
    GetWindowRect(shown, &r);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    const auto grab = [&](auto draw) {
        HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
        HGDIOBJ old = SelectObject(mem, bitmap);
        draw();
        std::vector<COLORREF> pixels;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                pixels.push_back(GetPixel(mem, x, y));
        SelectObject(mem, old);
        DeleteObject(bitmap);
        return pixels;
    };
    const auto drawn_on = [&](COLORREF background) {
        return grab([&] {
            RECT all{0, 0, size, size};
            HBRUSH brush = CreateSolidBrush(background);
            FillRect(mem, &all, brush);
            DeleteObject(brush);
            DrawIconEx(mem, 0, 0, LoadIconW(nullptr, which), size, size, 0, nullptr, DI_NORMAL);
        });
    };
    const std::vector<COLORREF> on_magenta = drawn_on(RGB(255, 0, 255));
    const std::vector<COLORREF> on_cyan = drawn_on(RGB(0, 255, 255));
    const std::vector<COLORREF> captured =
        grab([&] { BitBlt(mem, 0, 0, size, size, screen, r.left, r.top, SRCCOPY); });
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    const auto similar = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) < 24 &&
               std::abs(GetGValue(a) - GetGValue(b)) < 24 &&
               std::abs(GetBValue(a) - GetBValue(b)) < 24;
    };
    int differ = 0;
    for (std::size_t i = 0; i < captured.size(); ++i)
        if (on_magenta[i] == on_cyan[i] && !similar(on_magenta[i], captured[i])) ++differ;
    return differ;
}

TEST_F(StackingRun, WithoutScmToolkitAMessageBoxSaysSoAndNothingChanges) {
    start_tolvane();
    only_row(3, L"1", {10, 20}, {11, 22});
    const auto before = tolvane_->state();
    press_stack_it();

    const HWND box =
        desktop::wait_for_window(tolvane_->process_id(), MessageTitle, 10000, L"#32770");
    ASSERT_NE(box, nullptr) << "no message box titled \"Error: SCM Toolkit not open\"";
    EXPECT_EQ(tolvane_->message_boxes().size(), 1u);

    std::vector<std::wstring> texts, buttons;
    HWND icon = nullptr;
    for (HWND child : desktop::children(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::wstring cls = desktop::class_of(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(cls.c_str(), L"Button") == 0)
            buttons.push_back(desktop::text_of(child));
        else if (_wcsicmp(cls.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
            icon = child;
        else if (_wcsicmp(cls.c_str(), L"Static") == 0 && !desktop::text_of(child).empty())
            texts.push_back(desktop::text_of(child));
    }
    EXPECT_EQ(texts, std::vector<std::wstring>{MessagePrompt});
    EXPECT_EQ(buttons, std::vector<std::wstring>{L"OK"});
    ASSERT_NE(icon, nullptr) << "no icon shown";
    // The box may not have painted yet when it is first found.
    const auto shows_information = [&] {
        const int information = icon_difference(icon, IDI_INFORMATION);
        for (LPCWSTR other : {IDI_WARNING, IDI_ERROR, IDI_QUESTION})
            if (icon_difference(icon, other) <= information) return false;
        return true;
    };
    EXPECT_TRUE(desktop::wait_until(shows_information, 5000)) << "not the information icon";

    desktop::tap(VK_RETURN);
    EXPECT_TRUE(desktop::wait_until([&] { return tolvane_->message_boxes().empty(); }, 10000))
        << "OK did not close the message box";
    EXPECT_EQ(tolvane_->state(), before);
}

TEST_F(StackingRun, BadInputActivatesNothingAndSendsNothing) {
    ScmToolkitDouble scm;
    ASSERT_NE(scm.hwnd(), nullptr);
    start_tolvane();
    // Row 2's starting location has no y.
    for (int p = 1; p <= 8; ++p)
        tolvane_->set_ticked(p, p == 2);
    tolvane_->fill(L"numOfPatches", L"1");
    tolvane_->fill(L"p2x", L"5");
    tolvane_->fill(L"p2y", L"6");
    tolvane_->fill(L"p2startx", L"7");
    ASSERT_EQ(tolvane_->text(L"p2starty"), L"");
    const LRESULT activations = scm.query(scm_double::Activations);
    press_stack_it();

    // Nothing to wait for: give a faulty run the time it would need to show.
    Sleep(1500);
    EXPECT_EQ(GetForegroundWindow(), tolvane_->hwnd());
    EXPECT_EQ(scm.query(scm_double::Activations), activations) << "SCM Toolkit was activated";
    EXPECT_EQ(scm.query(scm_double::KeysReceived), 0) << "keys were sent";
    EXPECT_TRUE(tolvane_->message_boxes().empty()) << "a message was shown";
}

} // namespace
