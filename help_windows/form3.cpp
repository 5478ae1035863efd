#include "help_windows/form3.h"

namespace tolvane {

namespace {

using rt::Align;
using rt::Bold;
using rt::NoIndex;
using rt::verdana;
using enum rt::ControlKind;

// clang-format off
constexpr rt::ControlDesign controls[] = {
    // name        index    kind           Left Top   Width Height caption                                                   font                 align          tab
    {L"Label1",    NoIndex, Label,         120, 360,  6495, 495,  L"Tolvane v1.2",                                          verdana(1800, Bold), Align::Center, 0},
    {L"Label2",    NoIndex, Label,         120, 840,  6495, 255,  L"To be used in conjunction with SCM Toolkit",            verdana(825),        Align::Center, 1},
    {L"Label3",    NoIndex, Label,         120, 1320, 6495, 255,  L"Tolvane v1.2 - \u00A9 The Tolvane Team 2002-2003",       verdana(825),        Align::Center, 2},
    {L"Label4",    NoIndex, Label,         120, 1680, 6495, 255,  L"SCM Toolkit - \u00A9 The SCM Toolkit Authors 2000-2001", verdana(825),        Align::Center, 3},
    {L"Command1",  NoIndex, CommandButton, 120, 2040, 6495, 615,  L"&Close This Window",                                    verdana(825),        Align::Center, 4},
};
// clang-format on

constexpr rt::FormDesign form3_design{L"Form3", L"About", 6750, 2730, controls};

} // namespace

Form3::Form3() : rt::Form(form3_design) {}

void Form3::Command1_Click() {
    Unload();
}

void Form3::on_click(rt::Control& c) {
    // Unloading destroys `c` with the window: nothing may follow the call.
    if (c.is(L"Command1")) return Command1_Click();
}

} // namespace tolvane
