#include "main_window/form1_design.h"

namespace tolvane {

namespace {

using rt::Align;
using rt::Bold;
using rt::DefaultFont;
using rt::NoIndex;
using rt::verdana;
using enum rt::ControlKind;

// clang-format off
constexpr rt::ControlDesign controls[] = {
    // name            index    kind           Left  Top   Width Height caption                          font                 align          tab
    // Player 1 (left column, first row)
    {L"Check1",        NoIndex, CheckBox,      360,  1200, 1815, 375, L"Player 1",                      verdana(975, Bold),  Align::Left,   58},
    {L"Label3",        0,       Label,         600,  1560, 1575, 255, L"Mineral Patch",                 verdana(825),        Align::Left,   12},
    {L"Label4",        0,       Label,         600,  1920, 1575, 255, L"Starting Location",             verdana(825),        Align::Left,   13},
    {L"p1x",           NoIndex, TextBox,       2280, 1560, 495,  285, L"",                              DefaultFont,         Align::Center, 20},
    {L"p1y",           NoIndex, TextBox,       2880, 1560, 495,  285, L"",                              DefaultFont,         Align::Center, 21},
    {L"p1startx",      NoIndex, TextBox,       2280, 1920, 495,  285, L"",                              DefaultFont,         Align::Center, 22},
    {L"p1starty",      NoIndex, TextBox,       2880, 1920, 495,  285, L"",                              DefaultFont,         Align::Center, 23},
    // Player 3
    {L"Check3",        NoIndex, CheckBox,      360,  2400, 1815, 375, L"Player 3",                      verdana(975, Bold),  Align::Left,   59},
    {L"Label3",        1,       Label,         600,  2760, 1575, 255, L"Mineral Patch",                 verdana(825),        Align::Left,   14},
    {L"Label4",        1,       Label,         600,  3120, 1575, 255, L"Starting Location",             verdana(825),        Align::Left,   15},
    {L"p3x",           NoIndex, TextBox,       2280, 2760, 495,  285, L"",                              DefaultFont,         Align::Center, 24},
    {L"p3y",           NoIndex, TextBox,       2880, 2760, 495,  285, L"",                              DefaultFont,         Align::Center, 25},
    {L"p3startx",      NoIndex, TextBox,       2280, 3120, 495,  285, L"",                              DefaultFont,         Align::Center, 26},
    {L"p3starty",      NoIndex, TextBox,       2880, 3120, 495,  285, L"",                              DefaultFont,         Align::Center, 27},
    // Player 5
    {L"Check5",        NoIndex, CheckBox,      360,  3600, 1815, 375, L"Player 5",                      verdana(975, Bold),  Align::Left,   60},
    {L"Label3",        2,       Label,         600,  3960, 1575, 255, L"Mineral Patch",                 verdana(825),        Align::Left,   16},
    {L"Label4",        2,       Label,         600,  4320, 1575, 255, L"Starting Location",             verdana(825),        Align::Left,   17},
    {L"p5x",           NoIndex, TextBox,       2280, 3960, 495,  285, L"",                              DefaultFont,         Align::Center, 28},
    {L"p5y",           NoIndex, TextBox,       2880, 3960, 495,  285, L"",                              DefaultFont,         Align::Center, 29},
    {L"p5startx",      NoIndex, TextBox,       2280, 4320, 495,  285, L"",                              DefaultFont,         Align::Center, 30},
    {L"p5starty",      NoIndex, TextBox,       2880, 4320, 495,  285, L"",                              DefaultFont,         Align::Center, 31},
    // Player 7
    {L"Check7",        NoIndex, CheckBox,      360,  4800, 1815, 375, L"Player 7",                      verdana(975, Bold),  Align::Left,   61},
    {L"Label3",        3,       Label,         600,  5160, 1575, 255, L"Mineral Patch",                 verdana(825),        Align::Left,   18},
    {L"Label4",        3,       Label,         600,  5520, 1575, 255, L"Starting Location",             verdana(825),        Align::Left,   19},
    {L"p7x",           NoIndex, TextBox,       2280, 5160, 495,  285, L"",                              DefaultFont,         Align::Center, 32},
    {L"p7y",           NoIndex, TextBox,       2880, 5160, 495,  285, L"",                              DefaultFont,         Align::Center, 33},
    {L"p7startx",      NoIndex, TextBox,       2280, 5520, 495,  285, L"",                              DefaultFont,         Align::Center, 34},
    {L"p7starty",      NoIndex, TextBox,       2880, 5520, 495,  285, L"",                              DefaultFont,         Align::Center, 35},
    // Player 2 (right column, first row)
    {L"Check2",        NoIndex, CheckBox,      4080, 1200, 1815, 375, L"Player 2",                      verdana(975, Bold),  Align::Left,   62},
    {L"Label3",        4,       Label,         4320, 1560, 1575, 255, L"Mineral Patch",                 verdana(825),        Align::Left,   3},
    {L"Label4",        4,       Label,         4320, 1920, 1575, 255, L"Starting Location",             verdana(825),        Align::Left,   2},
    {L"p2x",           NoIndex, TextBox,       6000, 1560, 495,  285, L"",                              DefaultFont,         Align::Center, 36},
    {L"p2y",           NoIndex, TextBox,       6600, 1560, 495,  285, L"",                              DefaultFont,         Align::Center, 37},
    {L"p2startx",      NoIndex, TextBox,       6000, 1920, 495,  285, L"",                              DefaultFont,         Align::Center, 38},
    {L"p2starty",      NoIndex, TextBox,       6600, 1920, 495,  285, L"",                              DefaultFont,         Align::Center, 39},
    // Player 4
    {L"Check4",        NoIndex, CheckBox,      4080, 2400, 1815, 375, L"Player 4",                      verdana(975, Bold),  Align::Left,   63},
    {L"Label3",        5,       Label,         4320, 2760, 1575, 255, L"Mineral Patch",                 verdana(825),        Align::Left,   6},
    {L"Label4",        5,       Label,         4320, 3120, 1575, 255, L"Starting Location",             verdana(825),        Align::Left,   7},
    {L"p4x",           NoIndex, TextBox,       6000, 2760, 495,  285, L"",                              DefaultFont,         Align::Center, 40},
    {L"p4y",           NoIndex, TextBox,       6600, 2760, 495,  285, L"",                              DefaultFont,         Align::Center, 41},
    {L"p4startx",      NoIndex, TextBox,       6000, 3120, 495,  285, L"",                              DefaultFont,         Align::Center, 42},
    {L"p4starty",      NoIndex, TextBox,       6600, 3120, 495,  285, L"",                              DefaultFont,         Align::Center, 43},
    // Player 6
    {L"Check6",        NoIndex, CheckBox,      4080, 3600, 1815, 375, L"Player 6",                      verdana(975, Bold),  Align::Left,   64},
    {L"Label3",        6,       Label,         4320, 3960, 1575, 255, L"Mineral Patch",                 verdana(825),        Align::Left,   8},
    {L"Label4",        6,       Label,         4320, 4320, 1575, 255, L"Starting Location",             verdana(825),        Align::Left,   9},
    {L"p6x",           NoIndex, TextBox,       6000, 3960, 495,  285, L"",                              DefaultFont,         Align::Center, 44},
    {L"p6y",           NoIndex, TextBox,       6600, 3960, 495,  285, L"",                              DefaultFont,         Align::Center, 45},
    {L"p6startx",      NoIndex, TextBox,       6000, 4320, 495,  285, L"",                              DefaultFont,         Align::Center, 46},
    {L"p6starty",      NoIndex, TextBox,       6600, 4320, 495,  285, L"",                              DefaultFont,         Align::Center, 47},
    // Player 8
    {L"Check8",        NoIndex, CheckBox,      4080, 4800, 1695, 375, L"Player 8",                      verdana(975, Bold),  Align::Left,   65},
    {L"Label3",        7,       Label,         4320, 5160, 1575, 255, L"Mineral Patch",                 verdana(825),        Align::Left,   10},
    {L"Label4",        7,       Label,         4320, 5520, 1575, 255, L"Starting Location",             verdana(825),        Align::Left,   11},
    {L"p8x",           NoIndex, TextBox,       6000, 5160, 495,  285, L"",                              DefaultFont,         Align::Center, 48},
    {L"p8y",           NoIndex, TextBox,       6600, 5160, 495,  285, L"",                              DefaultFont,         Align::Center, 49},
    {L"p8startx",      NoIndex, TextBox,       6000, 5520, 495,  285, L"",                              DefaultFont,         Align::Center, 50},
    {L"p8starty",      NoIndex, TextBox,       6600, 5520, 495,  285, L"",                              DefaultFont,         Align::Center, 51},
    // Counts, the unit counter, the buttons and the credits
    {L"Label7",        NoIndex, Label,         120,  240,  3135, 255, L"Num. of Patches Per Player:",   verdana(975),        Align::Left,   52},
    {L"numOfPatches",  NoIndex, TextBox,       3120, 240,  495,  285, L"35",                            verdana(825),        Align::Center, 53},
    {L"totalUnits",    NoIndex, Label,         3720, 240,  4335, 495, L"-- Total Units",                verdana(2025),       Align::Center, 56},
    {L"Label4",        8,       Label,         120,  720,  3015, 255, L"Current Number of Units",       verdana(975),        Align::Left,   54},
    {L"currentUnits",  NoIndex, TextBox,       3120, 720,  495,  285, L"",                              verdana(825),        Align::Center, 55},
    {L"negative",      NoIndex, Label,         3720, 720,  4335, 255, L"",                              verdana(825),        Align::Center, 57},
    {L"Command2",      NoIndex, CommandButton, 120,  6000, 1935, 615, L"&Clear All",                    verdana(975),        Align::Center, 1},
    {L"Command1",      NoIndex, CommandButton, 2160, 6000, 6015, 615, L"&Stack It!",                    verdana(975),        Align::Center, 0},
    {L"Label5",        NoIndex, Label,         120,  6720, 3255, 255, L"\u00A9 2002-2003 The Tolvane Team",     verdana(825),        Align::Left,   4},
    {L"Label6",        NoIndex, Label,         4080, 6720, 3975, 255, L"Report Bugs To:  tolvane@example.org", verdana(825),  Align::Right,  5},
};
// clang-format on

constexpr rt::MenuItemDesign file_items[] = {
    {L"ClearAll", L"&Clear All"},
    {L"Exit", L"E&xit"},
};
constexpr rt::MenuItemDesign help_items[] = {
    {L"Instructions", L"&Instructions"},
    {L"About", L"&About"},
};
constexpr rt::MenuDesign menus[] = {
    {L"File", L"&File", file_items},
    {L"Help", L"&Help", help_items},
};

} // namespace

const rt::FormDesign Form1Design{
    L"Form1", L"Tolvane v1.2", 8205, 6975, controls, menus,
};

} // namespace tolvane
