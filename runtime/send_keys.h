#pragma once
// Typing a key string into the foreground window with SendInput.

#include "runtime/key_string.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace rt {

struct TypingOptions {
    // SendInput takes one call's events without interleaving other input,
    // but very long calls are not dependable: the keys go in chunks.
    std::size_t chunk_events = 4000;
    // How long to wait for the user to let go of Shift, Ctrl, Alt and the
    // Windows keys (a user who pressed Alt+S may still hold Alt).
    DWORD modifier_wait_ms = 2000;
    // Runs before each chunk; lets a test take the foreground away mid-way.
    std::function<void(std::size_t chunk)> before_chunk;
};

struct TypingResult {
    std::size_t events_total = 0;
    std::size_t events_sent = 0;
    bool complete() const { return events_sent == events_total; }
};

// The input events that type `actions` on keyboard layout `layout`: named
// keys as virtual keys, characters as the keys that type them (with Shift
// as needed, whatever the state of Caps Lock), or as Unicode input when the
// layout has no plain key for them.
std::vector<INPUT> key_events(const std::vector<KeyAction>& actions, HKL layout);

// Parses the whole string first (RuntimeError 5 if malformed: nothing is
// typed), then types it into the window that has the foreground now. Stops,
// sending nothing more, as soon as that window loses the foreground or a
// SendInput call falls short. Returns without waiting for the keys to be
// processed.
TypingResult type_keys(std::wstring_view keys, const TypingOptions& options = {});

// The classic statement: types the keys, Wait omitted.
inline void SendKeys(std::wstring_view keys) {
    type_keys(keys);
}

} // namespace rt
