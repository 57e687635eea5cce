// SPDX-License-Identifier: GPL-3.0-or-later
// Code-page aware text helpers: splitting at a separator byte, case-insensitive search, and
// upper-casing of single-byte letters.
#pragma once

#include "codepage.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vendle {

// Clears `pieces` and fills it with the parts of `text` between separator bytes; a separator that is
// the trail byte of a double-byte character does not split. Returns the number of pieces (separators + 1).
int SplitByChar(std::vector<std::string>& pieces, std::string_view text, char separator, CodePage cp);

// Same splitting as SplitByChar, as views into `text`, reusing `pieces` to avoid allocations.
std::size_t splitViews(std::vector<std::string_view>& pieces, std::string_view text, char separator,
                       CodePage cp);

// What a NUL byte means to forEachLine: the end of the text, or a byte of the line it stands in.
enum class NulByte { EndsText, InLine };

// Calls `fn` with each line of `text`. Lines end at CR LF, a lone CR or a lone LF; a NUL byte ends
// the text unless `nul` says otherwise. A final line without an end is a line too; an empty text
// has none.
template <typename Fn> void forEachLine(std::string_view text, Fn&& fn, NulByte nul = NulByte::EndsText) {
    if (nul == NulByte::EndsText)
        text = text.substr(0, text.find('\0'));
    // The line ends are searched a block at a time (memchr), not byte by byte: files of 100,000
    // lines are read at the start. The next LF is kept while lone CRs end the lines before it.
    const char* const base = text.data();
    std::size_t pos = 0;
    std::size_t lf = 0;
    bool searched = false;
    while (pos < text.size()) {
        if (!searched || lf < pos) {
            searched = true;
            const void* found = std::memchr(base + pos, '\n', text.size() - pos);
            lf = found ? static_cast<std::size_t>(static_cast<const char*>(found) - base) : text.size();
        }
        std::size_t end = lf;
        if (const void* cr = std::memchr(base + pos, '\r', end - pos))
            end = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
        fn(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size()) {
            ++pos;
            if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
                ++pos;
        }
    }
}

// The longest prefix of `text` of at most `maxBytes` bytes that ends on a character boundary.
std::string_view cutToBytes(std::string_view text, std::size_t maxBytes, CodePage cp);

// Upper-cases the single-byte letters a-z; multi-byte characters stay as they are.
std::string upperSingleByte(std::string_view text, CodePage cp);

// 1-based byte position of the first case-insensitive match of `needle` in `haystack` at a
// character boundary, or 0. An empty needle matches at 1.
std::size_t PosNoCase(std::string_view haystack, std::string_view needle, CodePage cp);

// Byte offset of the first case-insensitive match at a character boundary, or npos.
std::size_t findNoCase(std::string_view haystack, std::string_view needle, CodePage cp);

} // namespace vendle
