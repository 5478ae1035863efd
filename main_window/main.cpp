#include "main_window/form1.h"
#include "runtime/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tolvane::Form1 form1;
    rt::guarded([&] { form1.Show(); });
    return rt::run_message_loop();
}
