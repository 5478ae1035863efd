#pragma once
// Driving the real windows from a test the way a user would: real key
// input through SendInput, messages dispatched through the program's own loop.

#include "runtime/form.h"

#include <windows.h>

#include <functional>
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

} // namespace test
