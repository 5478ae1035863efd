#include "runtime/program.h"

#include "runtime/form.h"

#include <string>

namespace rt {

void dispatch_message(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (Form::from_window(root) && IsDialogMessageW(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int run_message_loop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        dispatch_message(msg);
    return static_cast<int>(msg.wParam);
}

void process_pending_messages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        dispatch_message(msg);
    }
}

int MsgBox(std::wstring_view prompt, int buttons, std::wstring_view title) {
    const std::wstring p(prompt), t(title);
    HWND active = GetActiveWindow();
    HWND owner = Form::from_window(active) ? active : nullptr;
    return MessageBoxW(owner, p.c_str(), t.c_str(), static_cast<UINT>(buttons));
}

void report_unhandled(int number) {
    const std::wstring text =
        L"Run-time error '" + std::to_wstring(number) + L"':\n\n" + error_description(number);
    MsgBox(text, MB_OK | MB_ICONERROR, L"Tolvane");
    End();
}

void End() {
    ExitProcess(0);
}

} // namespace rt
