#pragma once
// Bringing another program's window to the foreground by its title.

#include <windows.h>

#include <string_view>

namespace rt {

// Finds a visible top-level window of another process whose whole title
// equals `title` ignoring letter case, or failing that one whose title
// begins with it; restores it if minimised and makes it the foreground
// window, waiting (about 2 s at most) until it is. Throws RuntimeError 5
// when no window matches or the system refuses to bring it forward, so that
// keys meant for it are never typed into another window.
HWND AppActivate(std::wstring_view title);

// The window AppActivate would pick, or nullptr.
HWND find_window_by_title(std::wstring_view title);

} // namespace rt
