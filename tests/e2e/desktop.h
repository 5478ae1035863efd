#pragma once
// Driving other programs from outside, as a user at the desktop would:
// starting them, finding their windows, clicking and typing with real input,
// and reading what their controls show.

#include "e2e/scm_toolkit_double.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

// A path as the build wrote it (a Unix path when cross-built and run under
// Wine) in the form CreateProcessW takes.
std::wstring windows_path(std::string_view path);

// Polls `done` (without dispatching any messages) until it holds or `ms` pass.
bool wait_until(const std::function<bool()>& done, int ms);

// A program started for a test; ended with it, whatever state it is in.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const std::wstring& exe, const std::wstring& arguments);
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    bool running() const;
    void terminate();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The process's visible top-level window with exactly this title (any title
// when empty) and window class (any when empty), waiting up to `ms` for it.
HWND wait_for_window(DWORD process, std::wstring_view title, int ms = 20000,
                     std::wstring_view window_class = {});
std::vector<HWND> top_level_windows(DWORD process, std::wstring_view window_class = {});
std::vector<HWND> children(HWND parent, std::wstring_view window_class = {});
std::wstring class_of(HWND hwnd);

// The text a control shows, asked of its own thread (GetWindowTextW would
// not ask a control of another process).
std::wstring text_of(HWND hwnd);

// Makes the window the foreground window; true once it is.
bool bring_to_front(HWND hwnd);

// Real input through SendInput, to whatever has the focus.
void press(WORD vk, bool down);
void tap(WORD vk);
void type(std::wstring_view text);
void click(HWND control);
// The control that has the keyboard focus in the thread that owns `window`.
HWND focus_of(HWND window);
// Clicks the control and waits until it has the focus. Under Wine a click
// injected while the display is busy is now and then lost on its way (the
// control never hears of it); such a click is repeated, up to three times.
bool click_into(HWND control);
// A user who presses Alt+key and lets go of Alt only `hold_ms` later.
void alt_chord_held(WORD vk, int hold_ms);

// The stand-in for SCM Toolkit, started with a title and a number of units;
// its report goes to a file of its own in the temporary folder.
class ScmToolkitDouble {
public:
    explicit ScmToolkitDouble(std::wstring_view title = L"Scm Toolkit",
                              int units = scm_double::default_units);
    ~ScmToolkitDouble();
    ScmToolkitDouble(const ScmToolkitDouble&) = delete;
    ScmToolkitDouble& operator=(const ScmToolkitDouble&) = delete;

    HWND hwnd() const { return hwnd_; }
    DWORD process_id() const { return process_.id(); }
    LRESULT query(scm_double::Query what) const;
    // Waits until `keys` presses have arrived (and no more come for a short
    // while) or `ms` pass; returns the number that arrived.
    int wait_for_keys(int keys, int ms) const;
    scm_double::Report report() const;

private:
    std::filesystem::path report_file_;
    ChildProcess process_;
    HWND hwnd_ = nullptr;
    UINT query_message_ = 0;
};

} // namespace desktop
