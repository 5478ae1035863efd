#include "support/ui.h"

#include "runtime/program.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace test {

void pump(int ms) {
    const DWORD start = GetTickCount();
    do {
        rt::process_pending_messages();
        Sleep(1);
    } while (static_cast<int>(GetTickCount() - start) < ms);
}

bool pump_until(const std::function<bool()>& done, int ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (static_cast<int>(GetTickCount() - start) >= ms) return false;
        rt::process_pending_messages();
        Sleep(1);
    }
    return true;
}

namespace {

INPUT key_input(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

} // namespace

void activate(rt::Form& form) {
    SetForegroundWindow(form.hwnd());
    pump_until([&] { return GetForegroundWindow() == form.hwnd(); }, 2000);
    pump(30);
}

std::wstring focused_name(rt::Form& form) {
    HWND focus = GetFocus();
    for (const auto& c : form.controls())
        if (c->hwnd() == focus) {
            std::wstring name(c->name());
            if (c->index() != rt::NoIndex) name += L"(" + std::to_wstring(c->index()) + L")";
            return name;
        }
    return L"";
}

namespace {

std::vector<INPUT> key_inputs(const std::vector<Key>& keys) {
    std::vector<INPUT> inputs;
    for (const Key& k : keys) {
        if (k.control) inputs.push_back(key_input(VK_CONTROL, false));
        if (k.alt) inputs.push_back(key_input(VK_MENU, false));
        if (k.shift) inputs.push_back(key_input(VK_SHIFT, false));
        inputs.push_back(key_input(k.vk, false));
        inputs.push_back(key_input(k.vk, true));
        if (k.shift) inputs.push_back(key_input(VK_SHIFT, true));
        if (k.alt) inputs.push_back(key_input(VK_MENU, true));
        if (k.control) inputs.push_back(key_input(VK_CONTROL, true));
    }
    return inputs;
}

std::vector<Key> keys_for(std::wstring_view text) {
    std::vector<Key> keys;
    for (wchar_t ch : text) {
        const SHORT scan = VkKeyScanW(ch);
        keys.push_back(Key{static_cast<WORD>(LOBYTE(scan)), (HIBYTE(scan) & 1) != 0});
    }
    return keys;
}

void send_all(const std::vector<Key>& keys) {
    std::vector<INPUT> inputs = key_inputs(keys);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT mouse_input(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x;
    in.mi.dy = y;
    in.mi.dwFlags = flags;
    return in;
}

} // namespace

void press(const std::vector<Key>& keys) {
    for (const Key& k : keys) {
        send_all({k});
        pump(30);
    }
}

void press(std::initializer_list<Key> keys) {
    press(std::vector<Key>(keys));
}

void type(std::wstring_view text) {
    press(keys_for(text));
}

void press_at_once(const std::vector<Key>& keys) {
    send_all(keys);
    pump(50);
}

void type_at_once(std::wstring_view text) {
    send_all(keys_for(text));
}

void click(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    // Absolute mouse coordinates run from 0 to 65535 across the primary screen.
    const LONG ax = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    const LONG ay = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    INPUT inputs[] = {
        mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ax, ay),
        mouse_input(MOUSEEVENTF_LEFTDOWN),
        mouse_input(MOUSEEVENTF_LEFTUP),
    };
    SendInput(3, inputs, sizeof(INPUT));
    pump(50);
}

std::vector<HWND> visible_windows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(w))
                reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

struct MessageBoxWatcher::State {
    mutable std::mutex mutex;
    std::vector<Seen> seen;
    std::vector<HWND> noted;
    std::atomic<bool> stop{false};
    std::thread thread;

    void watch() {
        while (!stop) {
            for (HWND w : visible_windows()) {
                wchar_t cls[16] = {};
                GetClassNameW(w, cls, 16);
                if (std::wstring_view(cls) != L"#32770") continue;
                note(w);
                PostMessageW(w, WM_COMMAND, IDOK, 0);
            }
            Sleep(10);
        }
    }

    void note(HWND box) {
        std::lock_guard lock(mutex);
        if (std::find(noted.begin(), noted.end(), box) != noted.end()) return;
        noted.push_back(box);
        Seen s;
        wchar_t buffer[512] = {};
        GetWindowTextW(box, buffer, 512);
        s.title = buffer;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[16] = {};
            GetClassNameW(child, cls, 16);
            const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
            if (!IsWindowVisible(child)) continue;
            if (_wcsicmp(cls, L"Button") == 0) {
                ++s.buttons;
            } else if (_wcsicmp(cls, L"Static") == 0) {
                if ((style & SS_TYPEMASK) == SS_ICON)
                    s.icon = s.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
                else if (GetWindowTextW(child, buffer, 512) > 0)
                    s.text = buffer;
            }
        }
        seen.push_back(std::move(s));
    }
};

MessageBoxWatcher::MessageBoxWatcher() : state_(std::make_unique<State>()) {
    state_->thread = std::thread([s = state_.get()] { s->watch(); });
}

MessageBoxWatcher::~MessageBoxWatcher() {
    state_->stop = true;
    state_->thread.join();
}

std::vector<MessageBoxWatcher::Seen> MessageBoxWatcher::seen() const {
    std::lock_guard lock(state_->mutex);
    return state_->seen;
}

} // namespace test
