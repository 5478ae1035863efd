#include "main_window/form1.h"

#include "main_window/form1_design.h"
#include "main_window/keystroke_script.h"
#include "runtime/activation.h"
#include "runtime/conversions.h"
#include "runtime/program.h"
#include "runtime/send_keys.h"

#include <array>
#include <string>

namespace tolvane {

namespace {

std::wstring numbered(std::wstring_view prefix, int player, std::wstring_view suffix = {}) {
    return std::wstring(prefix) + std::to_wstring(player) + std::wstring(suffix);
}

constexpr std::wstring_view box_suffixes[] = {L"x", L"y", L"startx", L"starty"};

using Handler = void (Form1::*)();
struct Binding {
    std::wstring_view name;
    Handler handler;
};
constexpr std::array click_bindings{
    Binding{L"Check1", &Form1::Check1_Click},     Binding{L"Check2", &Form1::Check2_Click},
    Binding{L"Check3", &Form1::Check3_Click},     Binding{L"Check4", &Form1::Check4_Click},
    Binding{L"Check5", &Form1::Check5_Click},     Binding{L"Check6", &Form1::Check6_Click},
    Binding{L"Check7", &Form1::Check7_Click},     Binding{L"Check8", &Form1::Check8_Click},
    Binding{L"Command1", &Form1::Command1_Click}, Binding{L"Command2", &Form1::Command2_Click},
};
constexpr std::array change_bindings{
    Binding{L"numOfPatches", &Form1::numOfPatches_Change},
    Binding{L"currentUnits", &Form1::currentUnits_Change},
};
constexpr std::array menu_bindings{
    Binding{L"ClearAll", &Form1::ClearAll_Click},
    Binding{L"Exit", &Form1::Exit_Click},
    Binding{L"Instructions", &Form1::Instructions_Click},
    Binding{L"About", &Form1::About_Click},
};

constexpr wchar_t NegativeWarning[] = L"OMG! WTF? Negative? What have you done!!";

// The stacking run reads the window's controls only through this, in the
// order the script builder asks for them.
class ControlInputs : public ScriptInputs {
public:
    explicit ControlInputs(Form1& form) : form_(form) {}
    int tick(int player) override { return form_.control(numbered(L"Check", player)).Value(); }
    std::wstring patch_count() override { return form_.control(L"numOfPatches").Text(); }
    std::wstring box(int player, Box which) override {
        return form_.control(numbered(L"p", player, box_suffixes[static_cast<int>(which)])).Text();
    }

private:
    Form1& form_;
};

} // namespace

Form1::Form1() : rt::Form(Form1Design) {}
Form1::~Form1() = default;

void Form1::Form_Load() {
    // Each tick raises that row's Click, which runs before the next tick.
    for (int player = 1; player <= 8; ++player)
        check(player).SetValue(1);
}

// ---- Player rows ---------------------------------------------------------

rt::Control& Form1::check(int player) {
    return control(numbered(L"Check", player));
}

void Form1::set_boxes_visible(int player, bool visible) {
    for (std::wstring_view box : box_suffixes)
        control(numbered(L"p", player, box)).SetVisible(visible);
}

void Form1::show_or_hide_row(int player) {
    if (check(player).Value() == 0) set_boxes_visible(player, false);
    if (check(player).Value() == 1) set_boxes_visible(player, true);
}

void Form1::Check1_Click() {
    show_or_hide_row(1);
}
void Form1::Check2_Click() {
    show_or_hide_row(2);
}
void Form1::Check3_Click() {
    show_or_hide_row(3);
}
void Form1::Check4_Click() {
    show_or_hide_row(4);
}
void Form1::Check5_Click() {
    show_or_hide_row(5);
}
void Form1::Check6_Click() {
    show_or_hide_row(6);
}

// The seventh row tests in the other order; a greyed box (2) still changes nothing.
void Form1::Check7_Click() {
    if (check(7).Value() == 1) set_boxes_visible(7, true);
    if (check(7).Value() == 0) set_boxes_visible(7, false);
}

void Form1::Check8_Click() {
    show_or_hide_row(8);
}

// ---- Stacking run --------------------------------------------------------

void Form1::Command1_Click() {
    try {
        ControlInputs inputs(*this);
        const std::wstring script = build_keystroke_script(inputs);
        rt::AppActivate(L"SCM Toolkit");
        rt::SendKeys(script);
    } catch (const rt::RuntimeError& e) {
        // Bad input ends the run silently; only a missing SCM Toolkit is reported.
        if (e.number == rt::err::InvalidProcedureCall)
            rt::MsgBox(L"SCM Toolkit is not open! Please open it to proceed!", MB_ICONINFORMATION,
                       L"Error: SCM Toolkit not open");
    } catch (const std::bad_alloc&) {
    }
}

// ---- Unit counter --------------------------------------------------------

void Form1::numOfPatches_Change() {
    update_unit_counter(ChangedBox::NumOfPatches);
}
void Form1::currentUnits_Change() {
    update_unit_counter(ChangedBox::CurrentUnits);
}

void Form1::update_unit_counter(ChangedBox changed) {
    rt::Control& total_units = control(L"totalUnits");
    try {
        rt::Control& negative = control(L"negative");
        negative.SetCaption(L""); // before anything can fail
        const auto total = [this] {
            const std::wstring patches = control(L"numOfPatches").Text();
            const std::wstring current = control(L"currentUnits").Text();
            // numOfPatches first: when both boxes fail, its failure is the one that counts.
            const double product = rt::checked_mul(rt::text_to_number(patches), 8);
            return rt::checked_add(product, rt::text_to_number(current));
        };
        total_units.SetCaption(rt::number_to_text(total()) + L" Total Units");
        if (total() < 0) {
            negative.SetCaption(NegativeWarning);
            if (changed == ChangedBox::CurrentUnits)
                total_units.SetCaption(total_units.Caption() + L"?!");
        }
    } catch (const rt::RuntimeError& e) {
        // A box without a number shows "--"; an overflow leaves the last total.
        if (e.number == rt::err::TypeMismatch) total_units.SetCaption(L"-- Total Units");
    }
}

// ---- Clear All -----------------------------------------------------------

void Form1::Command2_Click() {
    clear_all();
}
void Form1::ClearAll_Click() {
    clear_all();
}

void Form1::clear_all() {
    // Box by box in player order; emptying the two count boxes runs the unit
    // counter twice, numOfPatches last, which leaves "-- Total Units".
    for (std::wstring_view box : box_suffixes)
        for (int player = 1; player <= 8; ++player)
            control(numbered(L"p", player, box)).SetText(L"");
    control(L"currentUnits").SetText(L"");
    control(L"numOfPatches").SetText(L"");
}

// ---- Menu commands -------------------------------------------------------

void Form1::Exit_Click() {
    rt::End();
}

void Form1::Instructions_Click() {
    if (!form2_) form2_ = std::make_unique<Form2>();
    form2_->Show();
}

void Form1::About_Click() {
    if (!form3_) form3_ = std::make_unique<Form3>();
    form3_->Show();
}

// ---- Event dispatch ------------------------------------------------------

void Form1::on_click(rt::Control& c) {
    for (const Binding& b : click_bindings)
        if (c.is(b.name)) return (this->*b.handler)();
}

void Form1::on_change(rt::Control& c) {
    for (const Binding& b : change_bindings)
        if (c.is(b.name)) return (this->*b.handler)();
}

void Form1::on_menu(const rt::MenuItemDesign& item) {
    for (const Binding& b : menu_bindings)
        if (item.name == b.name) return (this->*b.handler)();
}

void Form1::on_close_box() {
    // Closing the main window ends the program, help windows and all.
    rt::End();
}

} // namespace tolvane
