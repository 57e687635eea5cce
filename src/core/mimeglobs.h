// SPDX-License-Identifier: GPL-3.0-or-later
// The file-name patterns of the shared MIME database ("globs2" files) that look at more than a
// name's extension: whole names ("Makefile", "CMakeLists.txt") and other patterns ("README*",
// "*~"). A name that none of them matches gets its type from its extension alone, so a type
// guessed for one such name holds for every name with the same extension.
#pragma once

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

    // True when a pattern other than a plain "*.ext" may match `name`, ignoring case.
    bool wholeNameMatters(std::string_view name) const;

private:
    // A pattern with the literal text every match begins and ends with, so that most names are
    // turned away without matching (names are typed by the thousand).
    struct Pattern {
        std::string glob; // lower case
        std::string head; // up to the first wildcard
        std::string tail; // after the last wildcard
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_set<std::string, TextHash, std::equal_to<>> literals_; // lower case
    std::vector<Pattern> patterns_;                                       // each once
};

// Shell-style matching of `name` against `pattern`: "*" any run, "?" one byte, "[...]" a set with
// ranges and "!" or "^" negation.
bool globMatch(std::string_view pattern, std::string_view name);

// The part of a file name from its first dot on ("a.tar.gz" -> ".tar.gz"); the whole name when it
// has no dot.
std::string_view extensionKey(std::string_view name);

} // namespace vendle
