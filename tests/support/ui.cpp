#include "support/ui.h"

#include "runtime/program.h"

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

void press(const std::vector<Key>& keys) {
    for (const Key& k : keys) {
        std::vector<INPUT> inputs;
        if (k.control) inputs.push_back(key_input(VK_CONTROL, false));
        if (k.alt) inputs.push_back(key_input(VK_MENU, false));
        if (k.shift) inputs.push_back(key_input(VK_SHIFT, false));
        inputs.push_back(key_input(k.vk, false));
        inputs.push_back(key_input(k.vk, true));
        if (k.shift) inputs.push_back(key_input(VK_SHIFT, true));
        if (k.alt) inputs.push_back(key_input(VK_MENU, true));
        if (k.control) inputs.push_back(key_input(VK_CONTROL, true));
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        pump(30);
    }
}

void press(std::initializer_list<Key> keys) { press(std::vector<Key>(keys)); }

void type(std::wstring_view text) {
    std::vector<Key> keys;
    for (wchar_t ch : text) {
        const SHORT scan = VkKeyScanW(ch);
        keys.push_back(Key{static_cast<WORD>(LOBYTE(scan)), (HIBYTE(scan) & 1) != 0});
    }
    press(keys);
}

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

} // namespace test
