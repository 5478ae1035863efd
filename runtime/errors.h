#pragma once
// Run-time errors. A handler with an error exit wraps its body in
// try { ... } catch (const rt::RuntimeError& e) { switch on e.number ... }
// and acts only on the number it expects.

#include <stdexcept>
#include <string>

namespace rt {

namespace err {
inline constexpr int InvalidProcedureCall = 5; // also: a window to activate was not found
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int TypeMismatch = 13;
} // namespace err

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number)
        : std::runtime_error("run-time error " + std::to_string(number)), number(number) {}
    int number; // what the classic runtime calls Err.Number
};

// The description the classic runtime shows for an error number.
inline const wchar_t* error_description(int number) {
    switch (number) {
    case err::InvalidProcedureCall:
        return L"Invalid procedure call or argument";
    case err::Overflow:
        return L"Overflow";
    case err::OutOfMemory:
        return L"Out of memory";
    case err::TypeMismatch:
        return L"Type mismatch";
    default:
        return L"Application-defined or object-defined error";
    }
}

} // namespace rt
