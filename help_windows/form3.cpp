#include "help_windows/form3.h"

namespace tolvane {

namespace {
constexpr rt::FormDesign form3_design{L"Form3", L"About", 6750, 2730, {}};
} // namespace

Form3::Form3() : rt::Form(form3_design) {}
void Form3::Command1_Click() { Unload(); }
void Form3::on_click(rt::Control&) {}

} // namespace tolvane
