// SPDX-License-Identifier: GPL-3.0-or-later
// Folding text for a search that ignores the difference between hiragana and katakana and between
// full-width and half-width forms (ＡＢＣ, ｶﾀｶﾅ, １２３), and ASCII case. The folding itself comes
// from the platform (Unicode compatibility decomposition); what is built on it lives here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vendle {

class TextFolder {
public:
    virtual ~TextFolder() = default;
    // Appends the folded form of the UTF-8 `text` to `out`, one character at a time. With
    // `origins`, appends for each byte appended the offset in `text` of the character it came from.
    virtual void fold(std::string_view text, std::string& out,
                      std::vector<std::uint32_t>* origins = nullptr) const = 0;

    std::string folded(std::string_view text) const {
        std::string out;
        fold(text, out);
        return out;
    }
};

// The bytes of `text` that match the folded `needle` (already folded): offset and length in
// `text`, whole characters; nothing when it does not occur or is empty.
std::optional<std::pair<std::size_t, std::size_t>> findFolded(std::string_view text, std::string_view needle,
                                                              const TextFolder& folder);

} // namespace vendle
