// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fileplaces.h"

#include <gtest/gtest.h>

#include <set>

using namespace vendle;

TEST(FilePlaces, AFolderOfItsOwnKeepsTheFilesBesideAnyOtherCopyInTheUsersFolders) {
    std::set<std::string> present;
    const auto places = [&](const std::string& folder) {
        return chooseFilePlaces({folder, "/home/u/.config", "/home/u/.local/share",
                                 [&](const std::string& path) { return present.count(path) > 0; }});
    };
    // An installed copy: XDG places, the help file in the data folder beside bin, the one name.
    present = {"/usr/share/vendle/vendle.chm", "/usr/bin/../share/vendle/vendle.chm"};
    FilePlaces installed = places("/usr/bin");
    EXPECT_FALSE(installed.portable);
    EXPECT_EQ(installed.iniFile, "/home/u/.config/vendle/vendle.ini");
    EXPECT_EQ(installed.dataFile, "/home/u/.local/share/vendle/vendle.dat");
    EXPECT_EQ(installed.helpFile, "/usr/bin/../share/vendle/vendle.chm");
    EXPECT_EQ(installed.instanceName, "Vendle");
    EXPECT_EQ(installed.foldersToMake,
              (std::vector<std::string>{"/home/u/.config/vendle", "/home/u/.local/share/vendle"}));

    // Any of the three files makes a folder a portable copy's; each such folder runs its own copy.
    std::set<std::string> names;
    for (const char* marker : {"vendle.portable", "vendle.ini", "vendle.dat"}) {
        const std::string folder = std::string("/media/stick/") + marker;
        present = {folder + "/" + marker, folder + "/vendle.chm"};
        const FilePlaces portable = places(folder);
        EXPECT_TRUE(portable.portable) << marker;
        EXPECT_EQ(portable.iniFile, folder + "/vendle.ini");
        EXPECT_EQ(portable.dataFile, folder + "/vendle.dat");
        EXPECT_EQ(portable.helpFile, folder + "/vendle.chm");
        EXPECT_TRUE(portable.foldersToMake.empty());
        names.insert(portable.instanceName);
    }
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(names.count("Vendle"), 0u);

    // No help file anywhere: the place beside the program is the one reported missing.
    present.clear();
    EXPECT_EQ(places("/opt/v").helpFile, "/opt/v/vendle.chm");
}
