#include "text.h"

#include <cstring>

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

} // namespace

std::size_t findNoCase(std::string_view haystack, std::string_view needle, CodePage cp) {
    if (needle.empty())
        return 0;
    if (needle.size() > haystack.size())
        return std::string_view::npos;
    if (cp.kind() == CodePage::Kind::Utf8)
        return findNoCaseUtf8(haystack, needle);
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
