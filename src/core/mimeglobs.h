// SPDX-License-Identifier: GPL-3.0-or-later
// The file-name patterns of the shared MIME database ("globs2" files) that look at more than a
// name's extension: whole names ("Makefile", "CMakeLists.txt") and other patterns ("README*",
// "*~"). A name that none of them matches gets its type from its extension alone, so a type
// guessed for one such name holds for every name with the same extension.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vendle {

class NameGlobs {
public:
    // Takes the patterns of one globs2 file ("weight:type:pattern[:flags]" lines, "#" comments).
    void addGlobs2(std::string_view text);

    // True when a pattern other than a plain "*.ext" may match `name`, ignoring case: the same as
    // nameMayMatter(name) || keyMatters(extensionKey(name)).
    bool wholeNameMatters(std::string_view name) const;

    // True when a whole name or a pattern that looks at the start of a name may match `name`. Most
    // names are turned away by their first character alone.
    bool nameMayMatter(std::string_view name) const;
    // True when a pattern that begins with "*" matches `key` (an extensionKey). Such a pattern
    // matches a name exactly when it matches the name's key, so the answer holds for every name
    // with that key and can be kept per key.
    bool keyMatters(std::string_view key) const;

private:
    // A pattern with the literal text every match begins and ends with, so that most names are
    // turned away without matching (names are typed by the thousand).
    struct Pattern {
        std::string glob; // lower case
        std::string head; // up to the first wildcard
        std::string tail; // after the last wildcard
        bool matches(std::string_view lowered) const;
    };
    void addPattern(std::string glob);
    // Marks the bytes a match of `glob` (a whole name, or with `pattern`, the name pattern of that
    // number) can begin with.
    void markFirst(std::string_view glob, int pattern = -1);
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_set<std::string, TextHash, std::equal_to<>> literals_; // lower case
    std::vector<Pattern> namePatterns_; // looking at the whole name, each once
    std::vector<Pattern> keyPatterns_;  // "*" and a rest whose matches lie within the key
    // Per byte: some whole name may begin with it, and which name patterns may (bit n for the
    // pattern n, bit 63 for the 63rd and all after it).
    std::bitset<256> literalFirst_;
    std::array<std::uint64_t, 256> patternsFirst_{};
    std::uint64_t patternsAnyFirst_ = 0; // patterns that may begin with any byte ("?", "*x.y")
    std::bitset<64> literalSizes_;       // sizes of whole names; 63 stands for 63 and more
};

// Shell-style matching of `name` against `pattern`: "*" any run, "?" one byte, "[...]" a set with
// ranges and "!" or "^" negation.
bool globMatch(std::string_view pattern, std::string_view name);

// The part of a file name from its first dot on ("a.tar.gz" -> ".tar.gz"); the whole name when it
// has no dot.
std::string_view extensionKey(std::string_view name);

} // namespace vendle
