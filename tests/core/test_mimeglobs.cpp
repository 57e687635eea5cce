// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/mimeglobs.h"

#include "core/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace vendle;

TEST(GlobMatch, StarsQuestionMarksAndSets) {
    EXPECT_TRUE(globMatch("readme*", "readme"));
    EXPECT_TRUE(globMatch("readme*", "readme.md"));
    EXPECT_FALSE(globMatch("readme*", "xreadme"));
    EXPECT_TRUE(globMatch("*.so.[0-9]*", "libc.so.6"));
    EXPECT_FALSE(globMatch("*.so.[0-9]*", "libc.so.x"));
    EXPECT_TRUE(globMatch("[0-9][0-9][0-9].vdr", "001.vdr"));
    EXPECT_FALSE(globMatch("[!0-9]*", "1abc"));
    EXPECT_TRUE(globMatch("*.anim[1-9j]", "x.animj"));
    EXPECT_TRUE(globMatch("a?c", "abc"));
    EXPECT_FALSE(globMatch("a?c", "ac"));
    EXPECT_TRUE(globMatch("*~", "notes.txt~"));
    EXPECT_TRUE(globMatch("x[", "x["));    // an unclosed set is a plain "["
    EXPECT_TRUE(globMatch("**a*", "bab")); // runs of stars
}

TEST(NameGlobs, OnlyPatternsBeyondTheExtensionMatter) {
    NameGlobs globs;
    globs.addGlobs2("# comment\n"
                    "50:text/x-cmake:cmakelists.txt\n"
                    "50:text/plain:*.txt\n"
                    "50:application/x-archive:*.tar.gz\n"
                    "10:text/x-readme:readme*\n"
                    "50:text/x-makefile:Makefile:cs\n"
                    "broken line\n");
    EXPECT_TRUE(globs.wholeNameMatters("CMakeLists.txt"));
    EXPECT_TRUE(globs.wholeNameMatters("README.txt"));
    EXPECT_TRUE(globs.wholeNameMatters("Makefile"));
    EXPECT_FALSE(globs.wholeNameMatters("notes.txt"));
    EXPECT_FALSE(globs.wholeNameMatters("a.tar.gz"));
    EXPECT_EQ(extensionKey("a.tar.gz"), ".tar.gz");
    EXPECT_EQ(extensionKey(".bashrc"), ".bashrc");
    EXPECT_EQ(extensionKey("Makefile"), "Makefile");
}

// The quick answers (by first byte, and per key for patterns that begin with "*") agree with
// matching every pattern against the whole name, for the desktop's own database and for patterns
// that no such shortcut covers.
TEST(NameGlobs, QuickAnswersAgreeWithMatchingEveryPattern) {
    std::string database = "50:a/b:*.so.[0-9]*\n50:a/b:*~\n50:a/b:*,v\n50:a/b:*.anim[1-9j]\n50:a/b:*.[1-9]\n"
                           "50:a/b:[0-9][0-9][0-9].vdr\n50:a/b:readme*\n50:a/b:Makefile.*\n50:a/b:core\n"
                           "50:a/b:[!a]x*\n50:a/b:?q\n50:a/b:*-foo.bar\n50:a/b:*a*b\n50:a/b:meson.build\n";
    std::ifstream system("/usr/share/mime/globs2");
    database.append(std::istreambuf_iterator<char>(system), std::istreambuf_iterator<char>());
    NameGlobs globs;
    globs.addGlobs2(database);

    std::vector<std::string> patterns;
    forEachLine(database, [&](std::string_view line) {
        if (line.empty() || line[0] == '#' || std::count(line.begin(), line.end(), ':') < 2)
            return;
        std::string_view pattern = line.substr(line.find(':', line.find(':') + 1) + 1);
        pattern = pattern.substr(0, pattern.find(':'));
        const bool extensionOnly =
            pattern.starts_with("*.") && pattern.find_first_of("*?[", 1) == std::string_view::npos;
        if (!pattern.empty() && !extensionOnly)
            patterns.emplace_back(pattern);
    });
    const auto everyPattern = [&](std::string name) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
        return std::any_of(patterns.begin(), patterns.end(), [&](std::string p) {
            std::transform(p.begin(), p.end(), p.begin(), [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            });
            return globMatch(p, name);
        });
    };
    const std::vector<std::string> heads{"",     "a",    "CMakeLists", "README", "readme", "Makefile",
                                         "core", "libc", "x",          "001",    "b",      "report-foo",
                                         "1",    "Q",    "meson",      ".hidden"};
    const std::vector<std::string> tails{"",         ".txt",   ".so.6", ".so.x",   ".b.so.1", "~",   ",v",
                                         ".anim1",   ".animj", ".1",    ".10",     ".vdr",    ".am", ".bar",
                                         "-foo.bar", ".build", "q",     ".tar.gz", "%"};
    int checked = 0;
    for (const std::string& head : heads) {
        for (const std::string& tail : tails) {
            const std::string name = head + tail;
            if (name.empty())
                continue;
            EXPECT_EQ(globs.wholeNameMatters(name), everyPattern(name)) << name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 250);
}
