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
        if (hasWildcard(pattern))
            addPattern(lower(pattern));
        else if (literals_.insert(lower(pattern)).second) {
            markFirst(lower(pattern));
            literalSizes_.set(std::min<std::size_t>(pattern.size(), literalSizes_.size() - 1));
        }
    });
}

void NameGlobs::addPattern(std::string glob) {
    const auto same = [&](const Pattern& p) { return p.glob == glob; };
    if (std::any_of(namePatterns_.begin(), namePatterns_.end(), same) ||
        std::any_of(keyPatterns_.begin(), keyPatterns_.end(), same))
        return;
    const std::size_t first = glob.find_first_of("*?[");
    const std::size_t last = glob.find_last_of("*?]");
    Pattern pattern{glob, glob.substr(0, first), glob.substr(last + 1)};
    // "*" and a rest R: a name matches when one of its endings matches R. When R begins with a dot,
    // that ending begins at a dot of the name, so it lies within the key (which runs from the first
    // dot on); when R is plain text without a dot, the ending holds no dot and lies within the key
    // too. Either way the name matches exactly when its key does.
    const std::string_view rest = std::string_view(glob).substr(1);
    const bool withinKey =
        glob[0] == '*' &&
        (rest.starts_with('.') || (!hasWildcard(rest) && rest.find('.') == std::string_view::npos));
    if (withinKey) {
        keyPatterns_.push_back(std::move(pattern));
        return;
    }
    markFirst(glob, static_cast<int>(namePatterns_.size()));
    namePatterns_.push_back(std::move(pattern));
}

void NameGlobs::markFirst(std::string_view glob, int pattern) {
    const std::uint64_t bit = pattern < 0 ? 0 : std::uint64_t{1} << std::min(pattern, 63);
    const auto mark = [&](unsigned char c) {
        for (const unsigned char b :
             {c, c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c}) {
            if (pattern < 0)
                literalFirst_.set(b);
            else
                patternsFirst_[b] |= bit;
        }
    };
    if (pattern >= 0 && (glob.empty() || glob[0] == '*' || glob[0] == '?')) {
        patternsAnyFirst_ |= bit;
        return;
    }
    if (pattern < 0 || glob[0] != '[') {
        mark(static_cast<unsigned char>(glob[0]));
        return;
    }
    // A plain set: every byte it stands for. Negated or unusual sets may stand for nearly any.
    const std::size_t close = glob.find(']', 1);
    if (glob.size() < 3 || glob[1] == '!' || glob[1] == '^' || glob[1] == ']' ||
        close == std::string_view::npos) {
        patternsAnyFirst_ |= bit;
        return;
    }
    const std::string_view set = glob.substr(0, close + 1);
    for (int c = 0; c < 256; ++c) {
        const char byte = static_cast<char>(c);
        if (globMatch(set, std::string_view(&byte, 1)))
            mark(static_cast<unsigned char>(c));
    }
}

bool NameGlobs::Pattern::matches(std::string_view lowered) const {
    return lowered.starts_with(head) && lowered.ends_with(tail) && globMatch(glob, lowered);
}

namespace {

// Runs `test` on `text` lowered in ASCII, on the stack when it is short: names are looked at by the
// thousand.
template <typename Test> bool withLowered(std::string_view text, Test test) {
    char buffer[256];
    if (text.size() <= sizeof buffer) {
        for (std::size_t i = 0; i < text.size(); ++i)
            buffer[i] = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        return test(std::string_view(buffer, text.size()));
    }
    const std::string longer = lower(text);
    return test(std::string_view(longer));
}

// True when `text` is `lowered` but for ASCII case.
bool sameNoCase(std::string_view text, std::string_view lowered) {
    return std::equal(text.begin(), text.end(), lowered.begin(), lowered.end(), [](char t, char l) {
        return (t >= 'A' && t <= 'Z' ? static_cast<char>(t - 'A' + 'a') : t) == l;
    });
}

} // namespace

bool NameGlobs::nameMayMatter(std::string_view name) const {
    if (name.empty())
        return false;
    const auto first = static_cast<unsigned char>(name[0]);
    if (literalFirst_.test(first) &&
        literalSizes_.test(std::min<std::size_t>(name.size(), literalSizes_.size() - 1)) &&
        withLowered(name, [&](std::string_view n) { return literals_.find(n) != literals_.end(); }))
        return true;
    std::uint64_t candidates = patternsFirst_[first] | patternsAnyFirst_;
    for (std::size_t i = 0; i < namePatterns_.size() && candidates != 0; ++i) {
        if ((candidates & (std::uint64_t{1} << std::min<std::size_t>(i, 63))) == 0)
            continue;
        if (i < 63)
            candidates &= ~(std::uint64_t{1} << i);
        const Pattern& p = namePatterns_[i];
        // The pattern's literal ends, compared without lowering the name first.
        if (name.size() >= p.head.size() + p.tail.size() &&
            sameNoCase(name.substr(0, p.head.size()), p.head) &&
            sameNoCase(name.substr(name.size() - p.tail.size()), p.tail) &&
            withLowered(name, [&](std::string_view n) { return globMatch(p.glob, n); }))
            return true;
    }
    return false;
}

bool NameGlobs::keyMatters(std::string_view key) const {
    if (keyPatterns_.empty())
        return false;
    return withLowered(key, [&](std::string_view k) {
        return std::any_of(keyPatterns_.begin(), keyPatterns_.end(),
                           [&](const Pattern& p) { return p.matches(k); });
    });
}

bool NameGlobs::wholeNameMatters(std::string_view name) const {
    return nameMayMatter(name) || keyMatters(extensionKey(name));
}

std::string_view extensionKey(std::string_view name) {
    const std::size_t dot = name.find('.');
    return dot == std::string_view::npos ? name : name.substr(dot);
}

} // namespace vendle
