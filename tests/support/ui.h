#pragma once
// Driving the real windows from a test the way a user would: real key
// input through SendInput, messages dispatched through the program's own loop.

#include "runtime/form.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace test {

// Dispatches messages through the program's loop for about `ms` milliseconds.
void pump(int ms = 50);
// Pumps until `done` holds or `ms` pass; returns whether it held.
bool pump_until(const std::function<bool()>& done, int ms = 3000);

struct Key {
    WORD vk;
    bool shift = false;
    bool control = false;
    bool alt = false;
};
// Presses and releases each key in turn, with its modifiers, then pumps.
void press(std::initializer_list<Key> keys);
void press(const std::vector<Key>& keys);
// Types text into whatever has the focus, as keys of the current layout.
void type(std::wstring_view text);

// Makes the form's window the foreground window, as a user's click would.
void activate(rt::Form& form);
// The designer name of the control that has the focus ("" if none of the form's).
std::wstring focused_name(rt::Form& form);

// Sends every key of the sequence at once, then pumps: for input that a
// modal loop started by an earlier key (a menu opened with Alt) must read.
void press_at_once(const std::vector<Key>& keys);
// Types text as one burst of keys; the caller pumps until it has arrived.
void type_at_once(std::wstring_view text);
// A real left click at the centre of a window, through SendInput, then pumps.
void click(HWND window);

// The visible top-level windows of this process.
std::vector<HWND> visible_windows();

// While it lives, a second thread watches for message boxes of this process,
// notes each one and closes it with OK, so that a test thread blocked in a
// modal box goes on.
class MessageBoxWatcher {
public:
    struct Seen {
        std::wstring title;
        std::wstring text;
        int buttons = 0;   // visible push buttons
        bool icon = false; // an icon beside the text
    };
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    std::vector<Seen> seen() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace test
