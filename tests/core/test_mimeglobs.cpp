// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/mimeglobs.h"

#include <gtest/gtest.h>

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
