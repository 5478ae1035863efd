#include "main_window/form1.h"

#include "main_window/form1_design.h"
#include "runtime/program.h"

#include <array>
#include <string>

namespace tolvane {

namespace {

std::wstring numbered(std::wstring_view prefix, int player, std::wstring_view suffix = {}) {
    return std::wstring(prefix) + std::to_wstring(player) + std::wstring(suffix);
}

using Handler = void (Form1::*)();
struct Binding {
    std::wstring_view control;
    Handler handler;
};
constexpr std::array click_bindings{
    Binding{L"Check1", &Form1::Check1_Click}, Binding{L"Check2", &Form1::Check2_Click},
    Binding{L"Check3", &Form1::Check3_Click}, Binding{L"Check4", &Form1::Check4_Click},
    Binding{L"Check5", &Form1::Check5_Click}, Binding{L"Check6", &Form1::Check6_Click},
    Binding{L"Check7", &Form1::Check7_Click}, Binding{L"Check8", &Form1::Check8_Click},
};

} // namespace

Form1::Form1() : rt::Form(Form1Design) {}

void Form1::Form_Load() {
    // Each tick raises that row's Click, which runs before the next tick.
    for (int player = 1; player <= 8; ++player) check(player).SetValue(1);
}

rt::Control& Form1::check(int player) { return control(numbered(L"Check", player)); }

void Form1::set_boxes_visible(int player, bool visible) {
    for (std::wstring_view box : {L"x", L"y", L"startx", L"starty"})
        control(numbered(L"p", player, box)).SetVisible(visible);
}

void Form1::show_or_hide_row(int player) {
    if (check(player).Value() == 0) set_boxes_visible(player, false);
    if (check(player).Value() == 1) set_boxes_visible(player, true);
}

void Form1::Check1_Click() { show_or_hide_row(1); }
void Form1::Check2_Click() { show_or_hide_row(2); }
void Form1::Check3_Click() { show_or_hide_row(3); }
void Form1::Check4_Click() { show_or_hide_row(4); }
void Form1::Check5_Click() { show_or_hide_row(5); }
void Form1::Check6_Click() { show_or_hide_row(6); }

// The seventh row tests in the other order; a greyed box (2) still changes nothing.
void Form1::Check7_Click() {
    if (check(7).Value() == 1) set_boxes_visible(7, true);
    if (check(7).Value() == 0) set_boxes_visible(7, false);
}

void Form1::Check8_Click() { show_or_hide_row(8); }

void Form1::on_click(rt::Control& c) {
    for (const Binding& b : click_bindings)
        if (c.is(b.control)) return (this->*b.handler)();
}

void Form1::on_change(rt::Control&) {}

void Form1::on_menu(const rt::MenuItemDesign&) {}

void Form1::on_close_box() {
    // Closing the main window ends the program, help windows and all.
    rt::End();
}

} // namespace tolvane
