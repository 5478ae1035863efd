#include "help_windows/form2.h"

namespace tolvane {

namespace {
constexpr rt::FormDesign form2_design{L"Form2", L"Instructions", 9360, 6555, {}};
} // namespace

Form2::Form2() : rt::Form(form2_design) {}
void Form2::Form_Load() {}
void Form2::Command1_Click() { Unload(); }
void Form2::Command2_Click() {}
void Form2::Command4_Click() {}
void Form2::Command3_Click() {}
void Form2::on_click(rt::Control&) {}

} // namespace tolvane
