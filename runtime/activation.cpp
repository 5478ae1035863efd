#include "runtime/activation.h"

#include "runtime/errors.h"

#include <string>

namespace rt {

namespace {

constexpr DWORD ActivationTimeoutMs = 2000;

struct Search {
    std::wstring_view title;
    HWND exact = nullptr;
    HWND prefix = nullptr;
};

bool equal_ignoring_case(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

BOOL CALLBACK consider(HWND hwnd, LPARAM lp) {
    auto& search = *reinterpret_cast<Search*>(lp);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
    const int length = GetWindowTextLengthW(hwnd);
    if (length < static_cast<int>(search.title.size())) return TRUE;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    const std::wstring_view caption = text;
    if (equal_ignoring_case(caption, search.title)) {
        search.exact = hwnd;
        return FALSE;
    }
    if (!search.prefix && equal_ignoring_case(caption.substr(0, search.title.size()), search.title))
        search.prefix = hwnd;
    return TRUE;
}

} // namespace

HWND find_window_by_title(std::wstring_view title) {
    if (title.empty()) return nullptr;
    Search search{title};
    EnumWindows(&consider, reinterpret_cast<LPARAM>(&search));
    return search.exact ? search.exact : search.prefix;
}

HWND AppActivate(std::wstring_view title) {
    HWND target = find_window_by_title(title);
    if (!target) throw RuntimeError(err::InvalidProcedureCall);
    if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
    SetForegroundWindow(target);
    const DWORD start = GetTickCount();
    while (GetForegroundWindow() != target) {
        if (GetTickCount() - start >= ActivationTimeoutMs)
            throw RuntimeError(err::InvalidProcedureCall);
        // Serve only messages sent by other threads (the activation change
        // talks to our windows); user input stays queued until the run ends.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(10);
    }
    return target;
}

} // namespace rt
