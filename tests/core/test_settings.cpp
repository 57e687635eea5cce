// SPDX-License-Identifier: GPL-3.0-or-later
// The table of settings, and files of an earlier layout brought to the current one.
#include "core/datetimeformat.h"
#include "core/inifile.h"
#include "core/settings.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace vendle;

TEST(Settings, EveryRowHasAPlaceOfItsOwn) {
    std::set<std::pair<std::string, std::string>> places;
    for (const SettingRow& row : settingRows()) {
        EXPECT_TRUE(places.emplace(row.section, row.key).second) << row.section << " " << row.key;
        EXPECT_TRUE(isSettingsSection(row.section));
    }
    EXPECT_FALSE(isSettingsSection("Desktop Entry"));
}

// Written by the versions before the table: booleans in other spellings, numbers past their
// bounds, the first start in the user's (US) form, lists beside them.
TEST(Settings, AFileOfTheFirstLayoutIsReadAndRewrittenAtTheCurrentOne) {
    MemIniFile ini;
    ini.parse("[%%% Application Infomation Section %%%]\r\nFirstKick=1/2/2026\r\nExecCount=7\r\n"
              "DebugDoAsFirst=no\r\n\r\n"
              "[VendleMainForm]\r\nDataMax=999999\r\nReadOnly=on\r\nSortColumn=9\r\nSortDescending=true\r\n"
              "Grid=40,200,300,100,130\r\nSearchFoldsKana=yes\r\n\r\n"
              "[Forgotten]\r\n1=1765000000 /d/a.txt\r\n\r\n"
              "[Exclusions]\r\nFolder1=/d/private\r\nHidden=yes\r\n\r\n");
    EXPECT_TRUE(readBool(ini, Setting::ExcludeHidden)); // read as meant before the rewrite too
    EXPECT_EQ(migrateSettings(ini, DateTimeFormat::usEnglish()), 1);
    EXPECT_EQ(ini.serialize(), "[%%% Application Infomation Section %%%]\r\nFirstKick=2026/01/02\r\n"
                               "ExecCount=7\r\nDebugDoAsFirst=0\r\nSettingsVersion=2\r\n\r\n"
                               "[VendleMainForm]\r\nDataMax=100000\r\nReadOnly=1\r\nSortColumn=4\r\n"
                               "SortDescending=1\r\nGrid=40,200,300,100,130\r\nSearchFoldsKana=1\r\n\r\n"
                               "[Forgotten]\r\n1=1765000000 /d/a.txt\r\n\r\n"
                               "[Exclusions]\r\nFolder1=/d/private\r\nHidden=1\r\n\r\n");
    // At the current layout nothing changes; a later layout is left as it is.
    const std::string current = ini.serialize();
    EXPECT_EQ(migrateSettings(ini, DateTimeFormat::usEnglish()), 2);
    EXPECT_EQ(ini.serialize(), current);
    MemIniFile later;
    later.parse("[%%% Application Infomation Section %%%]\r\nSettingsVersion=3\r\n\r\n"
                "[VendleMainForm]\r\nReadOnly=yes\r\n\r\n");
    const std::string before = later.serialize();
    EXPECT_EQ(migrateSettings(later, DateTimeFormat::japanese()), 3);
    EXPECT_EQ(later.serialize(), before);
}

TEST(Settings, ListsReplaceOnlyTheirOwnKeys) {
    MemIniFile ini;
    ini.parse(
        "[Exclusions]\r\nFolder1=/a\r\nFolder2=/b\r\nFolder4=/past-a-gap\r\nHidden=1\r\nNewerKey=x\r\n");
    EXPECT_EQ(readList(ini, Setting::ExcludedFolders), (std::vector<std::string>{"/a", "/b"}));
    writeList(ini, Setting::ExcludedFolders, {"/c"});
    EXPECT_EQ(ini.serialize(), "[Exclusions]\r\nHidden=1\r\nNewerKey=x\r\nFolder1=/c\r\n\r\n");
    writeList(ini, Setting::Forgotten, std::vector<std::string>(1005, "1 /x"));
    EXPECT_EQ(readList(ini, Setting::Forgotten).size(), 1000u); // the row's bound
    writeList(ini, Setting::Forgotten, {});
    EXPECT_FALSE(ini.SectionExists("Forgotten"));
}
