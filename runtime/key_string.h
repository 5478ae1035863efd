#pragma once
// Key strings in the classic key-code syntax, turned into a flat list of key
// events that the Windows layer types with SendInput. Nothing here needs the
// Windows API, so the syntax is checked by the native unit tests.
//
//   a, 5, -, .       characters typed as themselves (any UTF-16 text)
//   {TAB} {DEL} ...  named keys, letter case ignored
//   {NAME n}         the key or character n times; {TAB 3}, {x 10}, {+ 2}
//   + ^ %            Shift, Control, Alt held for the next key or "(group)"
//   ~                Enter
//   {+} {^} {%} {~} {(} {)} {{} {}} {[} {]}   those characters themselves
//
// A malformed string raises RuntimeError 5 and yields nothing.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace rt {

// Windows virtual-key codes, as plain numbers so that this header stays free
// of <windows.h>.
namespace vk {
inline constexpr std::uint16_t Cancel = 0x03; // what {BREAK} sends
inline constexpr std::uint16_t Back = 0x08;
inline constexpr std::uint16_t Tab = 0x09;
inline constexpr std::uint16_t Return = 0x0D;
inline constexpr std::uint16_t Capital = 0x14;
inline constexpr std::uint16_t Escape = 0x1B;
inline constexpr std::uint16_t Prior = 0x21; // Page Up
inline constexpr std::uint16_t Next = 0x22;  // Page Down
inline constexpr std::uint16_t End = 0x23;
inline constexpr std::uint16_t Home = 0x24;
inline constexpr std::uint16_t Left = 0x25;
inline constexpr std::uint16_t Up = 0x26;
inline constexpr std::uint16_t Right = 0x27;
inline constexpr std::uint16_t Down = 0x28;
inline constexpr std::uint16_t Snapshot = 0x2C; // Print Screen
inline constexpr std::uint16_t Insert = 0x2D;
inline constexpr std::uint16_t Delete = 0x2E;
inline constexpr std::uint16_t Help = 0x2F;
inline constexpr std::uint16_t F1 = 0x70; // F1..F16 are consecutive
inline constexpr std::uint16_t F16 = 0x7F;
inline constexpr std::uint16_t NumLock = 0x90;
inline constexpr std::uint16_t Scroll = 0x91;
} // namespace vk

struct KeyAction {
    enum class Kind : std::uint8_t {
        Key,  // code is a virtual-key code
        Char, // code is a UTF-16 code unit; characters beyond the BMP come as two
    };
    Kind kind = Kind::Char;
    std::uint16_t code = 0;
    // Modifiers held while this key goes down. A group "+(ab)" marks each of
    // its keys; consecutive keys with the same modifiers may share one press.
    bool shift = false;
    bool control = false;
    bool alt = false;

    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

// More events than this are refused with RuntimeError 7 (out of memory)
// rather than attempted, whatever repeat counts a string asks for.
inline constexpr std::size_t max_key_actions = 64 * 1024 * 1024;

// Throws RuntimeError 5 for a malformed string, 7 past max_key_actions.
std::vector<KeyAction> parse_key_string(std::wstring_view keys);

} // namespace rt
