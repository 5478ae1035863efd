#pragma once
// Number <-> text as the handlers see it, and double arithmetic that
// reports overflow instead of producing infinity. Independent of the
// C library's locale: the decimal separator is always '.'.

#include <string>
#include <string_view>

namespace rt {

// Optional blanks, optional sign, digits with an optional '.' and fraction
// ("5", ".5", "5."), optional exponent (e/E, optional sign, digits),
// optional blanks; nothing else.
// Throws RuntimeError 13 for empty text or text that is no number, 6 when
// the magnitude is beyond the double range. Values too small to represent read as 0.
double text_to_number(std::wstring_view text);

// At most 15 significant digits, rounded; no trailing zeros, no decimal point
// for whole values, no "-0". From 1E15 up and below 1E-4 in magnitude the
// exponent form "1E15", "1.5E-7": never a '+' and no leading zeros in the
// exponent, since the text is typed as keys where '+' would mean Shift.
std::wstring number_to_text(double value);

// Throw RuntimeError 6 when the result leaves the double range.
double checked_mul(double a, double b);
double checked_add(double a, double b);

} // namespace rt
