// Conversion between the program's 32-bit counts and the texts the user types and reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Decimal digits with a leading "-" for negative values, as "%d" writes them.
std::string FormatInteger(int32_t value);

// Reads a whole number the way a user types one into an edit box: full-width digits and signs
// count as their ASCII forms, the ideographic space as a space; leading white space is skipped,
// one sign is taken, then digits up to the first non-digit. A text without leading digits reads
// as 0. A value beyond the 32-bit range saturates to INT32_MAX (or INT32_MIN with "-"), so that
// a long run of digits is refused by the range checks instead of wrapping into range.
int32_t ParseInteger(std::string_view utf8Text);
