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
    EXPECT_FALSE(ini.SectionExists(Exclusions::kSection)); // nothing excluded: the file as before
    ex.write(ini);
    Exclusions read;
    read.read(ini);
    EXPECT_EQ(read, ex);
    none.write(ini);
    EXPECT_FALSE(ini.SectionExists(Exclusions::kSection));
}
