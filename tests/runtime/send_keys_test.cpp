// Typing and activation against real windows: windows of the test itself
// for typing, and windows of another program (the SCM Toolkit stand-in)
// for activation, which never considers the caller's own windows.

#include "e2e/desktop.h"
#include "runtime/activation.h"
#include "runtime/errors.h"
#include "runtime/handles.h"
#include "runtime/send_keys.h"
#include "support/ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <ostream>
#include <thread>

namespace {

// A top-level window of the test holding one edit box.
class EditWindow {
public:
    EditWindow(const wchar_t* title, int x) {
        static const ATOM frame = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = L"SendKeysTestFrame";
            return RegisterClassExW(&wc);
        }();
        frame_.reset(CreateWindowExW(0, MAKEINTATOM(frame), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     x, 500, 360, 120, nullptr, nullptr, nullptr, nullptr));
        edit_ =
            CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                            10, 10, 320, 24, frame_.get(), nullptr, nullptr, nullptr);
        test::pump(30);
    }

    HWND hwnd() const { return frame_.get(); }

    // Foreground, with the keyboard focus in the edit box.
    void focus() {
        SetForegroundWindow(hwnd());
        ASSERT_TRUE(test::pump_until([&] { return GetForegroundWindow() == hwnd(); }));
        SetFocus(edit_);
        test::pump(30);
    }

    std::wstring text() const {
        std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
        t.resize(
            static_cast<std::size_t>(GetWindowTextW(edit_, t.data(), static_cast<int>(t.size()))));
        return t;
    }

    // Pumps until the box holds `length` characters (or a generous while passes).
    std::wstring text_once(std::size_t length) {
        test::pump_until([&] { return text().size() >= length; }, 10000);
        test::pump(100); // anything beyond would arrive right behind
        return text();
    }

private:
    rt::WindowHandle frame_;
    HWND edit_ = nullptr;
};

void send_key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

// Shift held down as a user would hold it; let go at the latest on leaving.
class HeldShift {
public:
    HeldShift() {
        send_key(VK_SHIFT, true);
        test::pump_until([] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; });
    }
    ~HeldShift() { release(); }
    void release() {
        if (released_.exchange(true)) return;
        send_key(VK_SHIFT, false);
        test::pump_until([] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) == 0; });
    }

private:
    std::atomic<bool> released_{false};
};

// Caps Lock switched on by its key; switched off again on leaving.
class CapsLockOn {
public:
    CapsLockOn() {
        if (!on()) toggle();
    }
    ~CapsLockOn() {
        if (on()) toggle();
    }
    static bool on() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

private:
    static void toggle() {
        const bool was = on();
        send_key(VK_CAPITAL, true);
        send_key(VK_CAPITAL, false);
        test::pump_until([&] { return on() != was; });
    }
};

int error_number(const std::function<void()>& call) {
    try {
        call();
    } catch (const rt::RuntimeError& e) {
        return e.number;
    }
    return 0;
}

TEST(SendKeys, StopsAtTheChunkWhereTheWindowLostTheForeground) {
    EditWindow first(L"First", 0), second(L"Second", 400);
    first.focus();
    std::wstring keys;
    for (int i = 0; i < 10; ++i)
        keys += L"abcdefghijklmnopqrst";
    rt::TypingOptions options;
    options.chunk_events = 40; // 20 letters a chunk
    options.before_chunk = [&](std::size_t chunk) {
        if (chunk != 1) return;
        first.text_once(20);
        second.focus();
    };

    const rt::TypingResult result = rt::type_keys(keys, options);
    test::pump(200);
    EXPECT_EQ(result.events_total, 2 * keys.size());
    EXPECT_EQ(result.events_sent, 40u);
    EXPECT_EQ(first.text(), keys.substr(0, 20));
    EXPECT_EQ(second.text(), L"");
}

TEST(SendKeys, MalformedStringTypesNothing) {
    EditWindow window(L"Malformed", 0);
    window.focus();
    for (const wchar_t* keys : {L"12{NOSUCHKEY}", L"12{TAB", L"12+(34", L"12}"}) {
        SCOPED_TRACE(testing::Message() << "keys: " << keys);
        EXPECT_EQ(error_number([&] { rt::type_keys(keys); }), rt::err::InvalidProcedureCall);
        test::pump(100);
        EXPECT_EQ(window.text(), L"");
    }
}

TEST(SendKeys, CapsLockDoesNotChangeTypedLetters) {
    EditWindow window(L"Caps Lock", 0);
    window.focus();
    {
        CapsLockOn caps;
        ASSERT_TRUE(CapsLockOn::on()) << "Caps Lock could not be switched on";
        const rt::TypingResult result = rt::type_keys(L"Ee eE 2.5");
        EXPECT_TRUE(result.complete());
        EXPECT_EQ(window.text_once(9), L"Ee eE 2.5");
    }
    EXPECT_FALSE(CapsLockOn::on());
}

TEST(SendKeys, HeldModifierThatStaysDownMeansNothingIsTyped) {
    EditWindow window(L"Held Shift", 0);
    window.focus();
    HeldShift shift;
    const DWORD start = GetTickCount();
    const rt::TypingResult result = rt::type_keys(L"abc");
    const DWORD waited = GetTickCount() - start;
    shift.release();
    test::pump(200);
    EXPECT_EQ(result.events_total, 6u);
    EXPECT_EQ(result.events_sent, 0u);
    EXPECT_GE(waited, 1500u) << "gave up before the user could let go";
    EXPECT_EQ(window.text(), L"");
}

TEST(SendKeys, HeldModifierLetGoInTimeThenTypesPlainKeys) {
    EditWindow window(L"Let Go", 0);
    window.focus();
    HeldShift shift;
    std::thread user([&] {
        Sleep(300);
        shift.release();
    });
    const rt::TypingResult result = rt::type_keys(L"abc");
    user.join();
    EXPECT_TRUE(result.complete());
    EXPECT_EQ(window.text_once(3), L"abc") << "typed while Shift was still down";
}

// ---- AppActivate -------------------------------------------------------------

struct ActivationCase {
    const char* what;
    std::vector<const wchar_t*> others; // other programs' window titles, started in this order
    const wchar_t* own;                 // a window of the caller itself, or none
    const wchar_t* title;               // what AppActivate is asked for
    int expected;                       // index into others, or -1 for error 5
};

void PrintTo(const ActivationCase& c, std::ostream* os) {
    *os << c.what;
}

class AppActivate : public testing::TestWithParam<ActivationCase> {};

TEST_P(AppActivate, PicksTheRightWindowOfAnotherProgram) {
    const ActivationCase& c = GetParam();
    std::vector<std::unique_ptr<desktop::ScmToolkitDouble>> others;
    for (const wchar_t* title : c.others) {
        others.push_back(std::make_unique<desktop::ScmToolkitDouble>(title));
        ASSERT_NE(others.back()->hwnd(), nullptr) << "the other program did not start";
    }
    std::unique_ptr<EditWindow> own;
    if (c.own) {
        own = std::make_unique<EditWindow>(c.own, 0);
        own->focus();
    }

    HWND activated = nullptr;
    const int error = error_number([&] { activated = rt::AppActivate(c.title); });
    if (c.expected < 0) {
        EXPECT_EQ(error, rt::err::InvalidProcedureCall);
    } else {
        ASSERT_EQ(error, 0);
        const HWND wanted = others[static_cast<std::size_t>(c.expected)]->hwnd();
        EXPECT_EQ(activated, wanted);
        EXPECT_EQ(GetForegroundWindow(), wanted);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Titles, AppActivate,
    testing::Values(
        ActivationCase{"ExactInOtherCase", {L"SCM TOOLKIT"}, nullptr, L"Scm Toolkit", 0},
        ActivationCase{
            "ExactOverPrefix", {L"Scm Toolkit", L"Scm Toolkit - Beta"}, nullptr, L"scm toolkit", 0},
        ActivationCase{"ExactOverPrefixStartedFirst",
                       {L"Scm Toolkit - Beta", L"SCM Toolkit"},
                       nullptr,
                       L"SCM Toolkit",
                       1},
        ActivationCase{"PrefixWhenNoExact", {L"Scm Toolkit - map.scm"}, nullptr, L"SCM Toolkit", 0},
        ActivationCase{"OwnWindowIgnored", {L"Scm Toolkit 2"}, L"Scm Toolkit", L"Scm Toolkit", 0},
        ActivationCase{"OnlyOwnWindow", {}, L"Scm Toolkit", L"Scm Toolkit", -1},
        ActivationCase{"NoneMatches", {L"Other Program"}, nullptr, L"Scm Toolkit", -1},
        ActivationCase{"TitleOnlyContainsIt", {L"My Scm Toolkit"}, nullptr, L"Scm Toolkit", -1}),
    [](const testing::TestParamInfo<ActivationCase>& info) { return info.param.what; });

} // namespace
