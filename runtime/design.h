#pragma once
// A window's design as data: the same rows a designer's property sheet
// would show, in twips (1/1440 inch). The form code turns one of these
// tables into real controls; nothing else about a window's layout lives in code.

#include <span>
#include <string_view>

namespace rt {

enum class ControlKind { Label, TextBox, CheckBox, CommandButton, PictureBox };
enum class Align { Left, Center, Right };

// A font of the design: Verdana, Western character set, in hundredths of a
// point. A control whose font has size 0 shows the window's default font.
struct FontDesign {
    int centipoints = 0;
    bool bold = false;
    constexpr bool operator==(const FontDesign&) const = default;
};
inline constexpr FontDesign DefaultFont{};
constexpr FontDesign verdana(int centipoints, bool bold = false) {
    return {centipoints, bold};
}
inline constexpr bool Bold = true;

inline constexpr int NoIndex = -1;

struct ControlDesign {
    std::wstring_view name;
    int index; // position in a control array, or NoIndex
    ControlKind kind;
    int left, top, width, height; // twips, within the client area
    std::wstring_view caption;    // the text of a text box
    FontDesign font;
    Align align;
    int tab_index;
    int picture = 0; // bitmap resource of a picture box
};

struct MenuItemDesign {
    std::wstring_view name;
    std::wstring_view caption;
};

struct MenuDesign {
    std::wstring_view name;
    std::wstring_view caption;
    std::span<const MenuItemDesign> items;
};

struct FormDesign {
    std::wstring_view name;
    std::wstring_view caption;
    int client_width, client_height; // twips
    std::span<const ControlDesign> controls;
    std::span<const MenuDesign> menus = {};
};

inline constexpr int TwipsPerInch = 1440;

// Rounds to the nearest pixel; at 96 dpi every 15 twips are one pixel.
constexpr int twips_to_pixels(int twips, unsigned dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled >= 0 ? scaled + TwipsPerInch / 2 : scaled - TwipsPerInch / 2) /
                            TwipsPerInch);
}

// A font's cell height in pixels for its size in hundredths of a point.
constexpr int points_to_pixels(int centipoints, unsigned dpi) {
    return static_cast<int>((static_cast<long long>(centipoints) * dpi + 3600) / 7200);
}

} // namespace rt
