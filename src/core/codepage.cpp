// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vendle {

namespace {

std::string normalisedName(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (c == '-' || c == '_')
            continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

} // namespace

CodePage CodePage::fromCodesetName(std::string_view name) {
    const std::string n = normalisedName(name);
    if (n == "CP932" || n == "SJIS" || n == "SHIFTJIS" || n == "WINDOWS31J" || n == "MS932" || n == "IBM943")
        return cp932();
    return utf8();
}

bool CodePage::isLeadByte(unsigned char byte) const {
    if (kind_ == Kind::Cp932)
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return utf8SequenceLength(byte) > 1;
}

std::size_t CodePage::charLength(std::string_view text, std::size_t pos) const {
    if (pos >= text.size())
        return 0;
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (!isLeadByte(lead))
        return 1;
    const std::size_t rest = text.size() - pos;
    if (kind_ == Kind::Cp932) {
        // A lead byte pairs only with a byte that can follow it; before any other byte (a TAB, a
        // line end, the end of the text) it is a character of its own, so that what a writer put
        // after it is read back as written.
        if (rest < 2)
            return 1;
        const auto trail = static_cast<unsigned char>(text[pos + 1]);
        return (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC) ? 2 : 1;
    }
    // A malformed UTF-8 sequence ends at the first byte that is not a continuation byte, so that
    // an ASCII byte is never swallowed into a broken character.
    const std::size_t want = std::min(utf8SequenceLength(lead), rest);
    std::size_t len = 1;
    while (len < want && (static_cast<unsigned char>(text[pos + len]) & 0xC0) == 0x80)
        ++len;
    return len;
}

} // namespace vendle
