// SPDX-License-Identifier: GPL-3.0-or-later
// The file-name patterns of the shared MIME database ("globs2" files) that look at more than a
// name's extension: whole names ("Makefile", "CMakeLists.txt") and other patterns ("README*",
// "*~"). A name that none of them matches gets its type from its extension alone, so a type
// guessed for one such name holds for every name with the same extension.
#pragma once

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
    std::unordered_set<std::string> literals_; // lower case
    std::vector<std::string> patterns_;        // lower case
};

// Shell-style matching of `name` against `pattern`: "*" any run, "?" one byte, "[...]" a set with
// ranges and "!" or "^" negation.
bool globMatch(std::string_view pattern, std::string_view name);

// The part of a file name from its first dot on ("a.tar.gz" -> ".tar.gz"); the whole name when it
// has no dot.
std::string_view extensionKey(std::string_view name);

} // namespace vendle
