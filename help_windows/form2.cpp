#include "help_windows/form2.h"

#include "resources/resource_ids.h"

#include <span>
#include <string_view>

namespace tolvane {

namespace {

using rt::Align;
using rt::Bold;
using rt::DefaultFont;
using rt::NoIndex;
using rt::verdana;
using enum rt::ControlKind;

// The step texts keep two blanks after some sentences, as they were written.
constexpr wchar_t Step1[] =
    L"1) Place the minerals on your map, making sure that there are no other geysers, starting "
    L"locations, or critters on the same horizontal space, all the way across the map.";
constexpr wchar_t Step2[] =
    L"2) Place your starting locations DIRECTLY underneath minerals, also making sure there are no "
    L"other items on the same horizontal space. See example pic of how your mini-map should look "
    L"in StarEdit after placing of mineral patches and starting locations:";
constexpr wchar_t Step3[] =
    L"3) Save your map, then open it with SCM Toolkit.  Click on the \"units\" tab, then scroll "
    L"down to the FIRST mineral patch that you wish to begin to stack.  Be sure that the scroll "
    L"bar on right hand side is selected (blinking), then switch over to this application. See "
    L"example pic:";
constexpr wchar_t Step4[] =
    L"4) Making sure that all the proper fields are filled in, click the \"Stack It!\" button, as "
    L"pictured below.  Focus should switch to SCM Toolkit, and the minerals and starting "
    L"locations should automatically (and very quickly) stacked.";
constexpr wchar_t Step5[] = L"5) From SCM Toolkit, save the map, then enjoy!";

// clang-format off
constexpr rt::ControlDesign controls[] = {
    // name        index    kind           Left  Top   Width Height caption                                   font                align          tab picture
    {L"Label1",    NoIndex, Label,         120,  120,  7815, 255,  L"Instructions on using this utility:",    verdana(975, Bold), Align::Left,   0},
    // Stage 1 page
    {L"Label7",    NoIndex, Label,         120,  600,  9120, 315,  L"Using StarEdit:",                        verdana(975, Bold), Align::Left,   12},
    {L"Label2",    NoIndex, Label,         120,  960,  9120, 435,  Step1,                                     verdana(825),       Align::Left,   1},
    {L"Label3",    NoIndex, Label,         120,  1440, 9120, 675,  Step2,                                     verdana(825),       Align::Left,   2},
    {L"Picture1",  NoIndex, PictureBox,    120,  2280, 9135, 2775, L"",                                       DefaultFont,        Align::Left,   7,  IDB_STAGE1},
    // Stage 2 page
    {L"Label8",    NoIndex, Label,         120,  600,  9120, 315,  L"Using SCM Toolkit:",                     verdana(975, Bold), Align::Left,   13},
    {L"Label4",    NoIndex, Label,         120,  960,  9120, 675,  Step3,                                     verdana(825),       Align::Left,   3},
    {L"Picture2",  NoIndex, PictureBox,    480,  1800, 7935, 3615, L"",                                       DefaultFont,        Align::Left,   8,  IDB_STAGE2},
    // Stage 3 page
    {L"Label9",    NoIndex, Label,         120,  600,  9000, 315,  L"Using Tolvane v1.2 (this program):",     verdana(975, Bold), Align::Left,   14},
    {L"Label5",    NoIndex, Label,         120,  960,  9000, 675,  Step4,                                     verdana(825),       Align::Left,   4},
    {L"Label6",    NoIndex, Label,         120,  1680, 8985, 315,  Step5,                                     verdana(825),       Align::Left,   5},
    {L"Picture3",  NoIndex, PictureBox,    600,  2040, 7815, 3015, L"",                                       DefaultFont,        Align::Left,   15, IDB_STAGE3},
    // On every page
    {L"Command2",  NoIndex, CommandButton, 120,  5520, 2895, 375,  L"Stacking: Stage 1",                      verdana(825),       Align::Center, 9},
    {L"Command4",  NoIndex, CommandButton, 3120, 5520, 2895, 375,  L"Stacking: Stage 2",                      verdana(825),       Align::Center, 11},
    {L"Command3",  NoIndex, CommandButton, 6120, 5520, 2895, 375,  L"Stacking: Stage 3",                      verdana(825),       Align::Center, 10},
    {L"Command1",  NoIndex, CommandButton, 120,  6000, 8895, 495,  L"&Close This Window",                     verdana(825),       Align::Center, 6},
};

// The controls of each page, in the order a page switch shows or hides them.
constexpr std::wstring_view stage1_page[] = {L"Label7", L"Label2", L"Label3", L"Picture1"};
constexpr std::wstring_view stage2_page[] = {L"Label8", L"Label4", L"Picture2"};
constexpr std::wstring_view stage3_page[] = {L"Label9", L"Label5", L"Label6", L"Picture3"};
// clang-format on

constexpr rt::FormDesign form2_design{L"Form2", L"Instructions", 9360, 6555, controls};

// Every switch sets all eleven page controls, whatever they show now, so a
// page is always exactly its own controls.
void show_page(rt::Form& form, std::span<const std::wstring_view> shown,
               std::span<const std::wstring_view> first_hidden,
               std::span<const std::wstring_view> second_hidden) {
    for (std::wstring_view name : shown)
        form.control(name).SetVisible(true);
    for (std::wstring_view name : first_hidden)
        form.control(name).SetVisible(false);
    for (std::wstring_view name : second_hidden)
        form.control(name).SetVisible(false);
}

void show_stage1_page(rt::Form& form) {
    show_page(form, stage1_page, stage3_page, stage2_page);
}

} // namespace

Form2::Form2() : rt::Form(form2_design) {}

// The design has every page visible; the window must open on Stage 1 alone.
void Form2::Form_Load() {
    show_stage1_page(*this);
}

void Form2::Command1_Click() {
    Unload();
}

void Form2::Command2_Click() {
    show_stage1_page(*this);
}

void Form2::Command4_Click() {
    show_page(*this, stage2_page, stage1_page, stage3_page);
}

void Form2::Command3_Click() {
    show_page(*this, stage3_page, stage1_page, stage2_page);
}

void Form2::on_click(rt::Control& c) {
    // Command1 unloads the window and with it `c`: nothing may follow the call.
    if (c.is(L"Command1")) return Command1_Click();
    if (c.is(L"Command2")) return Command2_Click();
    if (c.is(L"Command4")) return Command4_Click();
    if (c.is(L"Command3")) return Command3_Click();
}

} // namespace tolvane
