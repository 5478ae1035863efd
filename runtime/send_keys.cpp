#include "runtime/send_keys.h"

#include "runtime/errors.h"

#include <cstdint>
#include <unordered_map>

namespace rt {

namespace {

constexpr WORD ModifierKeys[] = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN};

INPUT keyboard(WORD vk, bool up, DWORD extra_flags = 0) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = extra_flags | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

INPUT unicode(wchar_t ch, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// Keys of the navigation block: without the flag they would be read as the
// numeric keypad's keys, which Num Lock turns into digits.
bool is_extended(WORD vk) {
    switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_CANCEL:
    case VK_SNAPSHOT:
    case VK_NUMLOCK:
        return true;
    default:
        return false;
    }
}

// Whether Caps Lock, when on, turns this character into its other case.
bool caps_lock_changes(wchar_t ch) {
    if (!IsCharAlphaW(ch)) return false;
    return IsCharUpperW(ch) || IsCharLowerW(ch);
}

bool modifier_held() {
    for (WORD vk : ModifierKeys)
        if (GetAsyncKeyState(vk) & 0x8000) return true;
    return false;
}

bool wait_for_modifiers_released(DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (modifier_held()) {
        if (GetTickCount() - start >= timeout_ms) return false;
        Sleep(10);
    }
    return true;
}

// One key with its modifiers, pressed and released: the unit a chunk never splits.
struct Stroke {
    std::size_t first;
    std::size_t count;
};

std::vector<Stroke> strokes_of(const std::vector<INPUT>& events) {
    // A stroke ends where no key is left down.
    std::vector<Stroke> strokes;
    int down = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        down += (events[i].ki.dwFlags & KEYEVENTF_KEYUP) ? -1 : 1;
        if (down == 0) {
            strokes.push_back({first, i + 1 - first});
            first = i + 1;
        }
    }
    return strokes;
}

} // namespace

namespace {

// The events of one key with its modifiers. A script repeats a handful of
// distinct keys thousands of times, and each layout lookup is a trip into
// the window system, so each distinct key is worked out once per call.
class StrokeTable {
public:
    explicit StrokeTable(HKL layout)
        : layout_(layout), caps_lock_on_(GetKeyState(VK_CAPITAL) & 1) {}

    const std::vector<INPUT>& operator()(const KeyAction& action) {
        const std::uint32_t key = action.code | static_cast<std::uint32_t>(action.kind) << 16 |
                                  action.shift << 17 | action.control << 18 | action.alt << 19;
        auto [it, added] = strokes_.try_emplace(key);
        if (added) it->second = make(action);
        return it->second;
    }

private:
    std::vector<INPUT> make(const KeyAction& action) const {
        bool shift = action.shift;
        INPUT down{}, up{};
        if (action.kind == KeyAction::Kind::Key) {
            const DWORD flags = is_extended(action.code) ? KEYEVENTF_EXTENDEDKEY : 0;
            down = keyboard(action.code, false, flags);
            up = keyboard(action.code, true, flags);
        } else {
            const wchar_t ch = static_cast<wchar_t>(action.code);
            const SHORT scan = VkKeyScanExW(ch, layout_);
            const int needs = scan == -1 ? 0 : HIBYTE(scan);
            // Characters that need Ctrl or Alt (AltGr) on this layout, or none
            // at all, go as Unicode input rather than as chords.
            if (scan == -1 || (needs & 6)) {
                down = unicode(ch, false);
                up = unicode(ch, true);
            } else {
                const bool needs_shift = (needs & 1) != 0;
                shift = shift || (needs_shift != (caps_lock_on_ && caps_lock_changes(ch)));
                down = keyboard(LOBYTE(scan), false);
                up = keyboard(LOBYTE(scan), true);
            }
        }
        std::vector<INPUT> events;
        if (action.control) events.push_back(keyboard(VK_CONTROL, false));
        if (action.alt) events.push_back(keyboard(VK_MENU, false));
        if (shift) events.push_back(keyboard(VK_SHIFT, false));
        events.push_back(down);
        events.push_back(up);
        if (shift) events.push_back(keyboard(VK_SHIFT, true));
        if (action.alt) events.push_back(keyboard(VK_MENU, true));
        if (action.control) events.push_back(keyboard(VK_CONTROL, true));
        return events;
    }

    HKL layout_;
    bool caps_lock_on_;
    std::unordered_map<std::uint32_t, std::vector<INPUT>> strokes_;
};

} // namespace

std::vector<INPUT> key_events(const std::vector<KeyAction>& actions, HKL layout) {
    StrokeTable strokes(layout);
    std::vector<INPUT> events;
    events.reserve(actions.size() * 2);
    for (const KeyAction& action : actions) {
        const std::vector<INPUT>& stroke = strokes(action);
        events.insert(events.end(), stroke.begin(), stroke.end());
    }
    return events;
}

TypingResult type_keys(std::wstring_view keys, const TypingOptions& options) {
    const std::vector<KeyAction> actions = parse_key_string(keys);
    HWND target = GetForegroundWindow();
    std::vector<INPUT> events =
        key_events(actions, GetKeyboardLayout(GetWindowThreadProcessId(target, nullptr)));
    TypingResult result{events.size(), 0};
    if (events.empty()) return result;
    // Typed with a modifier still down, every Tab would be Alt+Tab.
    if (!wait_for_modifiers_released(options.modifier_wait_ms)) return result;

    const std::vector<Stroke> strokes = strokes_of(events);
    const std::size_t limit = options.chunk_events > 0 ? options.chunk_events : 1;
    std::size_t next = 0;
    for (std::size_t chunk = 0; next < strokes.size(); ++chunk) {
        std::size_t first = strokes[next].first, count = 0;
        while (next < strokes.size() && (count == 0 || count + strokes[next].count <= limit))
            count += strokes[next++].count;
        if (options.before_chunk) options.before_chunk(chunk);
        if (GetForegroundWindow() != target) break;
        const UINT sent = SendInput(static_cast<UINT>(count), events.data() + first, sizeof(INPUT));
        result.events_sent += sent;
        if (sent != count) {
            // Never leave a modifier down after a short call.
            INPUT release[] = {keyboard(VK_SHIFT, true), keyboard(VK_CONTROL, true),
                               keyboard(VK_MENU, true)};
            SendInput(3, release, sizeof(INPUT));
            break;
        }
    }
    return result;
}

} // namespace rt
