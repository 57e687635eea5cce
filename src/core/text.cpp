// SPDX-License-Identifier: GPL-3.0-or-later
#include "text.h"

#include <bit>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vendle {

namespace {

constexpr char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

template <typename Emit>
std::size_t splitImpl(std::string_view text, char separator, CodePage cp, Emit emit) {
    std::size_t count = 0;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == separator) {
            emit(text.substr(start, i - start));
            ++count;
            ++i;
            start = i;
            continue;
        }
        i += cp.charLength(text, i);
    }
    emit(text.substr(start));
    return count + 1;
}

} // namespace

int SplitByChar(std::vector<std::string>& pieces, std::string_view text, char separator, CodePage cp) {
    pieces.clear();
    return static_cast<int>(
        splitImpl(text, separator, cp, [&](std::string_view piece) { pieces.emplace_back(piece); }));
}

std::size_t splitViews(std::vector<std::string_view>& pieces, std::string_view text, char separator,
                       CodePage cp) {
    pieces.clear();
    return splitImpl(text, separator, cp, [&](std::string_view piece) { pieces.push_back(piece); });
}

std::string_view cutToBytes(std::string_view text, std::size_t maxBytes, CodePage cp) {
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t len = cp.charLength(text, end);
        if (end + len > maxBytes)
            break;
        end += len;
    }
    return text.substr(0, end);
}

std::string upperSingleByte(std::string_view text, CodePage cp) {
    std::string out(text);
    std::size_t i = 0;
    while (i < out.size()) {
        const std::size_t len = cp.charLength(out, i);
        if (len == 1)
            out[i] = upperAscii(out[i]);
        i += len;
    }
    return out;
}

namespace {

bool equalFolded(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (upperAscii(a[i]) != upperAscii(b[i]))
            return false;
    }
    return true;
}

// In UTF-8 no byte of a multi-byte character is an ASCII byte, and a lead byte never equals a
// continuation byte, so a byte-wise match of folded ASCII letters always starts on a character
// boundary and never folds inside a character. The candidates for the first byte are found with
// memchr for each of its two cases.
std::size_t findNoCaseUtf8(std::string_view haystack, std::string_view needle) {
    const char first = needle[0];
    const char upper = upperAscii(first);
    const char lower = (upper >= 'A' && upper <= 'Z') ? static_cast<char>(upper + 32) : upper;
    const char* const begin = haystack.data();
    const char* const last = begin + (haystack.size() - needle.size());
    const char* pu = nullptr;
    const char* pl = nullptr;
    const char* from = begin;
    while (from <= last) {
        const std::size_t span = static_cast<std::size_t>(last - from) + 1;
        if (!pu || pu < from)
            pu = static_cast<const char*>(std::memchr(from, upper, span));
        if (lower != upper && (!pl || pl < from))
            pl = static_cast<const char*>(std::memchr(from, lower, span));
        const char* candidate = pu;
        if (lower != upper && pl && (!candidate || pl < candidate))
            candidate = pl;
        if (!candidate)
            return std::string_view::npos;
        if (equalFolded(candidate + 1, needle.data() + 1, needle.size() - 1))
            return static_cast<std::size_t>(candidate - begin);
        from = candidate + 1;
    }
    return std::string_view::npos;
}

#if defined(__SSE2__)
// The same search sixteen start positions at a time: a position is a candidate when the bytes
// under the needle's first and last bytes match them, and only candidates are compared whole.
// A letter is folded by setting bit 5, which maps exactly its two cases onto its lower case (no
// other byte lands on a letter that way); other bytes must match as they are. A haystack too
// short for one block of sixteen goes to the search above.
std::size_t findNoCaseUtf8Blocks(std::string_view haystack, std::string_view needle) {
    const std::size_t m = needle.size();
    if (haystack.size() < m + 15)
        return findNoCaseUtf8(haystack, needle);
    const auto matcher = [](char c) {
        const char upper = upperAscii(c);
        const bool letter = upper >= 'A' && upper <= 'Z';
        return std::pair{_mm_set1_epi8(letter ? static_cast<char>(upper | 0x20) : c),
                         _mm_set1_epi8(letter ? 0x20 : 0)};
    };
    const auto [first, firstFold] = matcher(needle.front());
    const auto [last, lastFold] = matcher(needle.back());
    const char* const h = haystack.data();
    const std::size_t lastStart = haystack.size() - m; // the last position a match may start at
    for (std::size_t i = 0;; i += 16) {
        // The final block ends at the last start and may overlap the one before: positions
        // already looked at are masked off.
        const bool final = i + 15 >= lastStart;
        const std::size_t at = final ? lastStart - 15 : i;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at + m - 1));
        const __m128i hits = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstFold), first),
                                           _mm_cmpeq_epi8(_mm_or_si128(b, lastFold), last));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (final)
            mask &= ~0u << (i - at);
        while (mask != 0) {
            const std::size_t k = at + static_cast<std::size_t>(std::countr_zero(mask));
            if (equalFolded(h + k + 1, needle.data() + 1, m - 1))
                return k;
            mask &= mask - 1;
        }
        if (final)
            return std::string_view::npos;
    }
}
#endif

} // namespace

std::size_t findNoCase(std::string_view haystack, std::string_view needle, CodePage cp) {
    if (needle.empty())
        return 0;
    if (needle.size() > haystack.size())
        return std::string_view::npos;
#if defined(__SSE2__)
    if (cp.kind() == CodePage::Kind::Utf8)
        return findNoCaseUtf8Blocks(haystack, needle);
#else
    if (cp.kind() == CodePage::Kind::Utf8)
        return findNoCaseUtf8(haystack, needle);
#endif
    // Matching walks the needle character by character from a character boundary of the haystack:
    // single-byte characters compare folded, multi-byte ones byte for byte, so a trail byte that
    // happens to be a letter is never folded. Lead bytes are never letters, so a match keeps both
    // texts on the same character boundaries.
    const auto matchesAt = [&](std::size_t at) {
        std::size_t k = 0;
        while (k < needle.size()) {
            const std::size_t len = cp.charLength(needle, k);
            if (len == 1) {
                if (upperAscii(haystack[at + k]) != upperAscii(needle[k]))
                    return false;
            } else if (haystack.compare(at + k, len, needle, k, len) != 0) {
                return false;
            }
            k += len;
        }
        return true;
    };
    const std::size_t last = haystack.size() - needle.size();
    std::size_t i = 0;
    while (i <= last) {
        if (matchesAt(i))
            return i;
        i += cp.charLength(haystack, i);
    }
    return std::string_view::npos;
}

std::size_t PosNoCase(std::string_view haystack, std::string_view needle, CodePage cp) {
    const std::size_t pos = findNoCase(haystack, needle, cp);
    return pos == std::string_view::npos ? 0 : pos + 1;
}

} // namespace vendle
