#pragma once
// The program around the forms: the message loop, the report of an error
// that no handler caught, the message box and program end.

#include "runtime/errors.h"

#include <windows.h>

#include <new>
#include <string_view>

namespace rt {

// Dispatches messages until the program quits; keyboard navigation (Tab,
// Shift+Tab, access keys) goes through the dialog manager of each form.
int run_message_loop();
// Dispatches what is queued now, the same way, and returns.
void process_pending_messages();
// One message through the same path as the loop.
void dispatch_message(MSG& msg);

// A run-time error that reached no error exit: reported, then the program ends.
[[noreturn]] void report_unhandled(int number);

// Runs one event handler; a run-time error it did not catch itself is
// reported here rather than unwinding through the window system.
template <typename Handler>
void guarded(Handler&& handler) {
    try {
        handler();
    } catch (const RuntimeError& e) {
        report_unhandled(e.number);
    } catch (const std::bad_alloc&) {
        report_unhandled(err::OutOfMemory);
    }
}

// Modal message box owned by the active window of this program; the
// buttons value is the classic one (64: information icon, OK only).
int MsgBox(std::wstring_view prompt, int buttons, std::wstring_view title);

// Ends the program at once with all its windows; no handler runs.
[[noreturn]] void End();

} // namespace rt
