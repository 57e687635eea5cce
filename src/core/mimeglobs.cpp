// SPDX-License-Identifier: GPL-3.0-or-later
#include "mimeglobs.h"

#include "text.h"

namespace vendle {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool hasWildcard(std::string_view s) {
    return s.find_first_of("*?[") != std::string_view::npos;
}

// A plain "*.ext" pattern: its matches are decided by the extension key alone.
bool isExtensionPattern(std::string_view p) {
    return p.size() > 2 && p[0] == '*' && p[1] == '.' && !hasWildcard(p.substr(1));
}

// Matches a "[...]" set at `p` (just after "["); returns the position after "]" or npos.
std::size_t matchSet(std::string_view p, std::size_t i, char c, bool& matched) {
    bool negate = false;
    if (i < p.size() && (p[i] == '!' || p[i] == '^')) {
        negate = true;
        ++i;
    }
    bool found = false;
    bool first = true;
    while (i < p.size() && (first || p[i] != ']')) {
        first = false;
        char lo = p[i];
        char hi = lo;
        if (i + 2 < p.size() && p[i + 1] == '-' && p[i + 2] != ']') {
            hi = p[i + 2];
            i += 3;
        } else {
            ++i;
        }
        if (static_cast<unsigned char>(c) >= static_cast<unsigned char>(lo) &&
            static_cast<unsigned char>(c) <= static_cast<unsigned char>(hi))
            found = true;
    }
    if (i >= p.size())
        return std::string_view::npos;
    matched = found != negate;
    return i + 1;
}

} // namespace

bool globMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        if (p < pattern.size()) {
            if (pattern[p] == '?') {
                ++p;
                ++n;
                continue;
            }
            if (pattern[p] == '[') {
                bool matched = false;
                const std::size_t next = matchSet(pattern, p + 1, name[n], matched);
                if (next != std::string_view::npos) {
                    if (matched) {
                        p = next;
                        ++n;
                        continue;
                    }
                } else if (name[n] == '[') { // an unclosed "[" stands for itself
                    ++p;
                    ++n;
                    continue;
                }
            } else if (pattern[p] == name[n]) {
                ++p;
                ++n;
                continue;
            }
        }
        if (starP == std::string_view::npos)
            return false;
        p = starP;
        n = ++starN;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

void NameGlobs::addGlobs2(std::string_view text) {
    forEachLine(text, [&](std::string_view line) {
        if (line.empty() || line[0] == '#')
            return;
        const std::size_t a = line.find(':');
        const std::size_t b = a == std::string_view::npos ? a : line.find(':', a + 1);
        if (b == std::string_view::npos)
            return;
        std::string_view pattern = line.substr(b + 1);
        // Flags follow a further colon; a pattern holds none itself.
        pattern = pattern.substr(0, pattern.find(':'));
        if (pattern.empty() || isExtensionPattern(pattern))
            return;
        if (hasWildcard(pattern))
            patterns_.push_back(lower(pattern));
        else
            literals_.insert(lower(pattern));
    });
}

bool NameGlobs::wholeNameMatters(std::string_view name) const {
    const std::string n = lower(name);
    if (literals_.count(n))
        return true;
    for (const std::string& p : patterns_) {
        if (globMatch(p, n))
            return true;
    }
    return false;
}

std::string_view extensionKey(std::string_view name) {
    const std::size_t dot = name.find('.');
    return dot == std::string_view::npos ? name : name.substr(dot);
}

} // namespace vendle
