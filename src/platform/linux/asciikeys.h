// SPDX-License-Identifier: GPL-3.0-or-later
// Quick sort keys for ASCII-only text under an ICU collator: each character's place at the first
// and third level, read off the collator once, so that such text needs no full ICU sort key.
#pragma once

#include <unicode/ucol.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vendle::platform {

class AsciiKeys {
public:
    // The keys of a collator, or nullptr where its order of ASCII text is not one character at a
    // time (contractions, expansions, ignorable punctuation, a case level, numeric or backwards
    // ordering) or where a check of the derived keys against the collator itself fails.
    static std::shared_ptr<const AsciiKeys> derive(const UCollator* collator);

    // Appends the key of an ASCII-only text and returns true; false for any other text.
    bool append(std::string_view text, std::string& out) const;

private:
    std::array<std::uint8_t, 128> primary_{};  // rank among first-level weights; 0: ignorable
    std::array<std::uint8_t, 128> tertiary_{}; // rank among the characters of the same first level
};

} // namespace vendle::platform
