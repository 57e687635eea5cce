// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as text for the value controls: a numeric picture ("#,##0", "#,##0.00") for writing and
// a forgiving reader that takes back what people type.
#pragma once

#include "sudfunctions.h"

#include <optional>
#include <string>
#include <string_view>

namespace vendle {

struct NumberSeparators {
    std::string thousands = ",";
    std::string decimal = ".";
};

// "0" a digit always shown, "#" a digit shown when significant, "," in the integer part groups by
// thousands, "." places the decimal separator; rounded half away from zero; a leading minus for
// negative values.
std::string FormatPicture(std::string_view picture, Extended value, const NumberSeparators& separators = {});

struct ReadNumber {
    Extended value = 0;
    bool ok = false; // at least one digit was seen
};

// Reads a number out of typed text, skipping separators, blanks and other characters. A number
// beyond the extended range reads as the largest finite value of its sign.
ReadNumber TextToValue(std::string_view text);

// The same for text written with a locale's separators: its decimal separator counts as the point
// and its "." (a grouping mark there) is skipped.
ReadNumber TextToValue(std::string_view text, const NumberSeparators& separators);

// A whole number typed into a field, read strictly: digits with optional grouping marks
// (`separators.thousands`) and blanks around them, nothing else; nullopt for any other text or
// a number outside [min, max].
std::optional<long long> wholeNumberIn(std::string_view text, long long min, long long max,
                                       const NumberSeparators& separators = {});

} // namespace vendle
