#pragma once
// The keystroke script that "Stack It!" types into SCM Toolkit: one unit
// entry per unit to move, each tabbing to the unit's X and Y fields, emptying
// them, typing the pixel values and stepping down to the next unit.
//
// Built from what the main window's controls hold, through ScriptInputs, so
// that the order in which controls are read is part of the tested behaviour:
// the first control that fails to convert decides the run's error.

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

inline constexpr int player_count = 8;

inline constexpr std::wstring_view x_lead_in =
    L"{TAB}{TAB}{TAB}{DELETE}{DELETE}{DELETE}{DELETE}{BACKSPACE}{BACKSPACE}{BACKSPACE}{BACKSPACE}";
inline constexpr std::wstring_view y_lead_in =
    L"{TAB}{DELETE}{DELETE}{DELETE}{DELETE}{BACKSPACE}{BACKSPACE}{BACKSPACE}{BACKSPACE}";
inline constexpr std::wstring_view entry_tail = L"{TAB}{TAB}{TAB}{DOWN}";

// A script longer than this (in UTF-16 units) is refused with RuntimeError 7
// before anything is allocated: a patch count such as 1E9 would otherwise ask
// for hundreds of gigabytes.
inline constexpr std::size_t max_script_length = 64 * 1024 * 1024;

enum class Box { PatchX, PatchY, StartX, StartY };

// The controls the script is made from; player is 1..player_count.
class ScriptInputs {
public:
    virtual ~ScriptInputs() = default;
    virtual int tick(int player) = 0; // check box value: 0, 1 ticked, 2 greyed
    virtual std::wstring patch_count() = 0;
    virtual std::wstring box(int player, Box which) = 0;
};

// Patch entries for each ticked row (as many as the patch count, from the
// row's patch boxes), then one start entry per ticked row. Reads the inputs in
// that order and only what it needs: nothing of an unticked row, no patch
// boxes when the count gives no entries, no count when no row is ticked.
// Throws RuntimeError 13 or 6 from the first input that does not convert or
// whose pixel value overflows, 7 past max_script_length.
std::wstring build_keystroke_script(ScriptInputs& inputs);

} // namespace tolvane
