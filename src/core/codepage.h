// SPDX-License-Identifier: GPL-3.0-or-later
// Code pages of the byte strings the program handles: which bytes start a multi-byte character
// and how long each character is, so that helpers never split or match inside one.
#pragma once

#include <cstddef>
#include <string_view>

namespace vendle {

class CodePage {
public:
    enum class Kind { Utf8, Cp932 };

    constexpr CodePage() = default;
    constexpr explicit CodePage(Kind kind) : kind_(kind) {}

    static constexpr CodePage utf8() { return CodePage(Kind::Utf8); }
    static constexpr CodePage cp932() { return CodePage(Kind::Cp932); }

    // Maps a locale codeset name ("UTF-8", "CP932", "SJIS", ...) to a code page. Unknown and
    // single-byte codesets map to UTF-8, whose rules treat every ASCII byte as a character of its own.
    static CodePage fromCodesetName(std::string_view name);

    constexpr Kind kind() const { return kind_; }

    // True when the byte starts a character of two or more bytes.
    bool isLeadByte(unsigned char byte) const;

    // Number of bytes of the character that starts at `pos` (at least 1, never past the end).
    std::size_t charLength(std::string_view text, std::size_t pos) const;

    friend constexpr bool operator==(CodePage a, CodePage b) { return a.kind_ == b.kind_; }

private:
    Kind kind_ = Kind::Utf8;
};

} // namespace vendle
