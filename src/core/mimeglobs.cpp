// SPDX-License-Identifier: GPL-3.0-or-later
#include "mimeglobs.h"

#include "text.h"

#include <algorithm>

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
        if (hasWildcard(pattern)) {
            std::string glob = lower(pattern);
            if (std::any_of(patterns_.begin(), patterns_.end(),
                            [&](const Pattern& p) { return p.glob == glob; }))
                return;
            const std::size_t first = glob.find_first_of("*?[");
            const std::size_t last = glob.find_last_of("*?]");
            std::string head = glob.substr(0, first);
            std::string tail = glob.substr(last + 1);
            patterns_.push_back({std::move(glob), std::move(head), std::move(tail)});
        } else
            literals_.insert(lower(pattern));
    });
}

bool NameGlobs::wholeNameMatters(std::string_view name) const {
    // Lowered on the stack: names are looked at by the thousand.
    char buffer[256];
    std::string longer;
    std::string_view n;
    if (name.size() <= sizeof buffer) {
        for (std::size_t i = 0; i < name.size(); ++i)
            buffer[i] = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
        n = std::string_view(buffer, name.size());
    } else {
        longer = lower(name);
        n = longer;
    }
    if (literals_.find(n) != literals_.end())
        return true;
    for (const Pattern& p : patterns_) {
        if (n.starts_with(p.head) && n.ends_with(p.tail) && globMatch(p.glob, n))
            return true;
    }
    return false;
}

std::string_view extensionKey(std::string_view name) {
    const std::size_t dot = name.find('.');
    return dot == std::string_view::npos ? name : name.substr(dot);
}

} // namespace vendle
