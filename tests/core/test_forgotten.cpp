// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/forgotten.h"
#include "core/inifile.h"

#include <gtest/gtest.h>

using namespace vendle;

TEST(Forgotten, OlderUsesArePassedOverANewerOneBringsTheDocumentBackAndTheListSurvivesTheSettings) {
    ForgottenDocuments forgotten;
    forgotten.forget("/d/a b=c.txt", 1000);
    forgotten.forget("/d/b.txt", 2000);
    EXPECT_TRUE(forgotten.admits("/d/other.txt", 10));
    EXPECT_FALSE(forgotten.admits("/d/a b=c.txt", 999));
    EXPECT_FALSE(forgotten.admits("/d/a b=c.txt", 1000)); // the use it was forgotten after

    // Through the settings file, with a damaged line among the kept ones.
    MemIniFile ini;
    forgotten.write(ini);
    ini.WriteString("Forgotten", "3", "not-a-time /d/x.txt");
    ForgottenDocuments read;
    read.read(ini);
    EXPECT_EQ(read.size(), 2u);
    EXPECT_FALSE(read.admits("/d/b.txt", 2000));
    EXPECT_TRUE(read.admits("/d/b.txt", 2001)); // used again: back, and forgotten no more
    EXPECT_TRUE(read.admits("/d/b.txt", 5));
    read.write(ini);
    ForgottenDocuments again;
    again.read(ini);
    EXPECT_EQ(again.size(), 1u); // the section was written anew, without the old lines

    // Bounded: the longest forgotten go first.
    ForgottenDocuments many;
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(ForgottenDocuments::kMostForgotten) + 5; ++i)
        many.forget("/d/" + std::to_string(i), 100 + i);
    EXPECT_EQ(many.size(), ForgottenDocuments::kMostForgotten);
    EXPECT_TRUE(many.admits("/d/0", 1));
    EXPECT_FALSE(many.admits("/d/5", 1));
}

// Past the bound the first forgotten go, also within one second and after a trip through the file,
// never the alphabetically first paths.
TEST(Forgotten, PastTheBoundTheLongestForgottenGo) {
    ForgottenDocuments forgotten;
    for (int i = 0; i < 600; ++i)
        forgotten.forget("/z/early" + std::to_string(i), 100);
    MemIniFile ini;
    forgotten.write(ini);
    ForgottenDocuments read;
    read.read(ini);
    for (int i = 0; i < 600; ++i)
        read.forget("/a/late" + std::to_string(i), 100);
    EXPECT_EQ(read.size(), ForgottenDocuments::kMostForgotten);
    EXPECT_TRUE(read.admits("/z/early0", 1)); // dropped: the first forgotten
    EXPECT_TRUE(read.admits("/z/early199", 1));
    EXPECT_FALSE(read.admits("/z/early200", 1)); // kept
    EXPECT_FALSE(read.admits("/a/late0", 1));
    EXPECT_FALSE(read.admits("/a/late599", 1));
}
