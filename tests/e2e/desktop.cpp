#include "e2e/desktop.h"

#include <atomic>
#include <utility>

namespace desktop {

std::wstring windows_path(std::string_view path) {
    std::wstring out = path.starts_with('/') ? L"Z:" : L"";
    for (char c : path)
        out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

bool wait_until(const std::function<bool()>& done, int ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (static_cast<int>(GetTickCount() - start) >= ms) return false;
        Sleep(10);
    }
    return true;
}

// ---- Processes -------------------------------------------------------------

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring command_line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        terminate();
        process_ = std::exchange(other.process_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

ChildProcess::~ChildProcess() {
    terminate();
}

bool ChildProcess::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void ChildProcess::terminate() {
    if (!process_) return;
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

// ---- Windows ---------------------------------------------------------------

std::wstring class_of(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

namespace {

bool class_matches(HWND hwnd, std::wstring_view window_class) {
    return window_class.empty() ||
           CompareStringOrdinal(class_of(hwnd).c_str(), -1, window_class.data(),
                                static_cast<int>(window_class.size()), TRUE) == CSTR_EQUAL;
}

struct WindowSearch {
    DWORD process;
    std::wstring_view window_class;
    std::vector<HWND> found;
};

} // namespace

std::vector<HWND> top_level_windows(DWORD process, std::wstring_view window_class) {
    WindowSearch search{process, window_class, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto& s = *reinterpret_cast<WindowSearch*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s.process && IsWindowVisible(hwnd) && class_matches(hwnd, s.window_class))
                s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> children(HWND parent, std::wstring_view window_class) {
    WindowSearch search{0, window_class, {}};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto& s = *reinterpret_cast<WindowSearch*>(lp);
            if (class_matches(hwnd, s.window_class)) s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND wait_for_window(DWORD process, std::wstring_view title, int ms,
                     std::wstring_view window_class) {
    HWND found = nullptr;
    wait_until(
        [&] {
            for (HWND hwnd : top_level_windows(process, window_class))
                if (title.empty() || text_of(hwnd) == title) found = hwnd;
            return found != nullptr;
        },
        ms);
    return found;
}

std::wstring text_of(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

bool bring_to_front(HWND hwnd) {
    SetForegroundWindow(hwnd);
    return wait_until([&] { return GetForegroundWindow() == hwnd; }, 5000);
}

// ---- Input -----------------------------------------------------------------

namespace {

bool extended(WORD vk) {
    switch (vk) {
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_DELETE:
    case VK_INSERT:
    case VK_PRIOR:
    case VK_NEXT:
        return true;
    default:
        return false;
    }
}

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(15);
}

INPUT key_input(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT mouse_input(DWORD flags, POINT at = {}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // Normalised to 0..65535 across the screen, rounded up so that scaling
    // back lands on the same pixel.
    in.mi.dx = static_cast<LONG>((at.x * 65536LL + w - 1) / w);
    in.mi.dy = static_cast<LONG>((at.y * 65536LL + h - 1) / h);
    in.mi.dwFlags = flags;
    return in;
}

} // namespace

void press(WORD vk, bool down) {
    send({key_input(vk, down)});
}

void tap(WORD vk) {
    send({key_input(vk, true), key_input(vk, false)});
}

void type(std::wstring_view text) {
    for (wchar_t ch : text) {
        const SHORT scan = VkKeyScanW(ch);
        const WORD vk = LOBYTE(scan);
        if (HIBYTE(scan) & 1)
            send({key_input(VK_SHIFT, true), key_input(vk, true), key_input(vk, false),
                  key_input(VK_SHIFT, false)});
        else
            tap(vk);
    }
}

void click(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // Press only once the pointer is there: under Wine the display's own
    // pointer motion can still be on its way and would move the press.
    const auto there = [&] {
        POINT at{};
        return GetCursorPos(&at) && at.x == centre.x && at.y == centre.y;
    };
    send({mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, centre)});
    wait_until(there, 2000);
    Sleep(30);
    if (!there()) send({mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, centre)});
    send({mouse_input(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, centre)});
    send({mouse_input(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, centre)});
}

HWND focus_of(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool click_into(HWND control) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        click(control);
        if (wait_until([&] { return focus_of(control) == control; }, 3000)) return true;
    }
    return false;
}

void alt_chord_held(WORD vk, int hold_ms) {
    send({key_input(VK_MENU, true), key_input(vk, true), key_input(vk, false)});
    Sleep(static_cast<DWORD>(hold_ms));
    send({key_input(VK_MENU, false)});
}

// ---- The stand-in for SCM Toolkit -----------------------------------------

namespace {

std::filesystem::path unique_report_file() {
    static std::atomic<int> counter{0};
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::filesystem::path(folder) /
           (L"scm-double-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L".txt");
}

} // namespace

ScmToolkitDouble::ScmToolkitDouble(std::wstring_view title, int units)
    : report_file_(unique_report_file()),
      process_(windows_path(SCM_TOOLKIT_DOUBLE_EXE),
               L"--title \"" + std::wstring(title) + L"\" --units " + std::to_wstring(units) +
                   L" --report \"" + report_file_.wstring() + L"\""),
      query_message_(RegisterWindowMessageW(scm_double::QueryMessageName)) {
    if (process_.started()) hwnd_ = wait_for_window(process_.id(), title);
}

ScmToolkitDouble::~ScmToolkitDouble() {
    process_.terminate();
    std::error_code ignored;
    std::filesystem::remove(report_file_, ignored);
}

LRESULT ScmToolkitDouble::query(scm_double::Query what) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(hwnd_, query_message_, what, 0, SMTO_ABORTIFHUNG, 10000, &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

int ScmToolkitDouble::wait_for_keys(int keys, int ms) const {
    wait_until([&] { return query(scm_double::KeysReceived) >= keys; }, ms);
    // Keys beyond those expected would come right behind them.
    LRESULT last = query(scm_double::KeysReceived);
    for (;;) {
        Sleep(300);
        const LRESULT now = query(scm_double::KeysReceived);
        if (now == last) return static_cast<int>(now);
        last = now;
    }
}

scm_double::Report ScmToolkitDouble::report() const {
    if (query(scm_double::WriteReport) != 1) return {};
    return scm_double::read_report(report_file_);
}

} // namespace desktop
