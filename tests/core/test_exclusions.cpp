// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exclusions.h"
#include "core/inifile.h"

#include <gtest/gtest.h>

using namespace vendle;

TEST(Exclusions, FoldersAndHiddenNamesAreLeftOutAndKeptInTheirOwnSection) {
    Exclusions none;
    EXPECT_FALSE(none.excludes("/home/u/.cache/x.txt"));

    Exclusions ex{{"/home/u/private/", "/tmp"}, false};
    EXPECT_TRUE(ex.excludes("/home/u/private/a.txt"));
    EXPECT_TRUE(ex.excludes("/tmp/deep/er/b.txt"));
    EXPECT_FALSE(ex.excludes("/home/u/private-not/a.txt")); // a sibling with the same start
    EXPECT_FALSE(ex.excludes("/tmpfile.txt"));
    EXPECT_FALSE(ex.excludes("/home/u/.cache/x.txt"));
    ex.hidden = true;
    EXPECT_TRUE(ex.excludes("/home/u/.cache/x.txt"));
    EXPECT_TRUE(ex.excludes("/home/u/.notes"));
    EXPECT_FALSE(ex.excludes("/home/u/notes.v2/a.txt"));

    MemIniFile ini;
    none.write(ini);
    EXPECT_FALSE(ini.SectionExists("Exclusions")); // nothing excluded: the file as before
    ex.write(ini);
    Exclusions read;
    read.read(ini);
    EXPECT_EQ(read, ex);
    none.write(ini);
    EXPECT_FALSE(ini.SectionExists("Exclusions"));
}

// A folder given with "..", "." or doubled separators excludes what its plain form does; the list
// is bounded both ways; the switch reads the common spellings of yes.
TEST(Exclusions, PlainFormsBoundsAndSpellings) {
    Exclusions ex;
    ex.folders = {"/a/../a/sub/", "/b//./c"};
    EXPECT_TRUE(ex.excludes("/a/sub/x.txt"));
    EXPECT_TRUE(ex.excludes("/b/c/y.txt"));
    EXPECT_FALSE(ex.excludes("/a/other.txt"));

    MemIniFile ini;
    for (int n = 1; n <= 1500; ++n)
        ini.WriteString("Exclusions", "Folder" + std::to_string(n), "/f" + std::to_string(n));
    for (const char* yes : {"yes", "True", " on "}) {
        ini.WriteString("Exclusions", "Hidden", yes);
        Exclusions read;
        read.read(ini);
        EXPECT_TRUE(read.hidden) << yes;
        EXPECT_EQ(read.folders.size(), Exclusions::kMostFolders);
    }
    ini.WriteString("Exclusions", "Hidden", "off");
    Exclusions read;
    read.read(ini);
    EXPECT_FALSE(read.hidden);
    read.folders.push_back("/beyond");
    MemIniFile out;
    read.write(out);
    EXPECT_TRUE(out.ValueExists("Exclusions", "Folder1000"));
    EXPECT_FALSE(out.ValueExists("Exclusions", "Folder1001"));
}
