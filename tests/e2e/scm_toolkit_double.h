#pragma once
// What the end-to-end tests and the delivery benchmark share with the
// stand-in for SCM Toolkit's Units page: its command line, the units it
// starts with, how to ask it what it received, and the report it writes.
//
//   scm_toolkit_double.exe [--title TEXT] [--units N] [--report PATH]
//
// The report is a text file of "name value..." lines:
//   keys N              key presses received (WM_KEYDOWN and WM_SYSKEYDOWN)
//   modified_keys N     presses that arrived while Shift, Ctrl or Alt was down
//   stray_chars N       characters that went anywhere but the X and Y fields
//   activations N       how often the window became the active window
//   first_key_us T      when the first and last press were taken from the
//   last_key_us T         queue, on the QueryPerformanceCounter clock
//   sequence VK VK ...  the virtual-key code of every press, in order (hex)
//   unit I X Y          each unit's position (I from 1)

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace scm_double {

// Registered message; wParam picks the answer.
inline constexpr wchar_t QueryMessageName[] = L"TolvaneScmToolkitDouble.Query";
enum Query : WPARAM {
    KeysReceived = 0, // returns the number of key presses taken so far
    Activations = 1,  // returns how often the window was activated
    WriteReport = 2,  // writes the report file now; returns 1 when written
};

inline constexpr int default_units = 10;

// The clock of first_key_us and last_key_us: one for all processes.
inline std::int64_t clock_us() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return count.QuadPart / frequency.QuadPart * 1'000'000 +
           count.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart;
}

// Every unit starts at a position that no script of the tests produces.
struct Position {
    double x = 0;
    double y = 0;
    friend bool operator==(const Position&, const Position&) = default;
};
inline std::ostream& operator<<(std::ostream& os, const Position& p) {
    return os << '(' << p.x << ", " << p.y << ')';
}
inline Position initial_position(int unit) {
    return {7000.0 + unit, 9000.0 + unit};
}

struct Report {
    int keys = -1;
    int modified_keys = -1;
    int stray_chars = -1;
    int activations = -1;
    std::int64_t first_key_us = 0;
    std::int64_t last_key_us = 0;
    std::vector<unsigned> sequence;
    std::vector<Position> units; // units[0] is unit 1
};

inline Report read_report(const std::filesystem::path& file) {
    Report r;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        if (name == "keys")
            fields >> r.keys;
        else if (name == "modified_keys")
            fields >> r.modified_keys;
        else if (name == "stray_chars")
            fields >> r.stray_chars;
        else if (name == "activations")
            fields >> r.activations;
        else if (name == "first_key_us")
            fields >> r.first_key_us;
        else if (name == "last_key_us")
            fields >> r.last_key_us;
        else if (name == "sequence") {
            unsigned vk;
            while (fields >> std::hex >> vk)
                r.sequence.push_back(vk);
        } else if (name == "unit") {
            std::size_t index;
            Position p;
            fields >> index >> p.x >> p.y;
            if (index >= 1) {
                if (r.units.size() < index) r.units.resize(index);
                r.units[index - 1] = p;
            }
        }
    }
    return r;
}

// The presses one unit entry makes on a US keyboard, worked out from the
// entry's layout rather than from the code that builds it: three Tabs to X,
// four Deletes and four Backspaces, the x digits, one Tab to Y, the same
// emptying, the y digits, three Tabs back to the scroll bar and Down.
inline void append_entry_keys(std::vector<unsigned>& keys, std::wstring_view x,
                              std::wstring_view y) {
    const auto repeat = [&](unsigned vk, int n) { keys.insert(keys.end(), n, vk); };
    const auto digits = [&](std::wstring_view text) {
        for (wchar_t c : text)
            keys.push_back(c == L'-' ? VK_OEM_MINUS : c == L'.' ? VK_OEM_PERIOD : c);
    };
    repeat(VK_TAB, 3);
    repeat(VK_DELETE, 4);
    repeat(VK_BACK, 4);
    digits(x);
    repeat(VK_TAB, 1);
    repeat(VK_DELETE, 4);
    repeat(VK_BACK, 4);
    digits(y);
    repeat(VK_TAB, 3);
    repeat(VK_DOWN, 1);
}

} // namespace scm_double
