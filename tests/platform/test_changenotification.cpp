// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/changenotification.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace vendle::platform;
using vendle::test::TempDir;

TEST(ChangeNotification, ManyChangesAreOneSignal) {
    TempDir dir;
    ChangeNotification n;
    ASSERT_TRUE(n.open(dir.path(), ChangeKind::FileName | ChangeKind::LastWrite, false));
    EXPECT_FALSE(n.signalled());
    for (int i = 0; i < 10; ++i)
        dir.write("f" + std::to_string(i), "x");
    EXPECT_TRUE(n.signalled());
    EXPECT_FALSE(n.signalled()); // consumed
    std::filesystem::remove(dir.path("f0"));
    EXPECT_TRUE(n.signalled());
}

TEST(ChangeNotification, KindsFilterTheChanges) {
    TempDir dir;
    const std::string file = dir.write("a", "x");
    ChangeNotification attrs;
    ASSERT_TRUE(attrs.open(dir.path(), ChangeKind::Attributes, false));
    dir.write("b", "new file");
    EXPECT_FALSE(attrs.signalled());
    chmod(file.c_str(), 0600);
    EXPECT_TRUE(attrs.signalled());

    ChangeNotification files;
    ASSERT_TRUE(files.open(dir.path(), ChangeKind::FileName, false));
    std::filesystem::create_directory(dir.path("sub"));
    EXPECT_FALSE(files.signalled()); // a folder is no file name change
    ChangeNotification dirs;
    ASSERT_TRUE(dirs.open(dir.path(), ChangeKind::DirName, false));
    std::filesystem::create_directory(dir.path("sub2"));
    EXPECT_TRUE(dirs.signalled());
}

TEST(ChangeNotification, SubtreesAndMissingFolders) {
    TempDir dir;
    std::filesystem::create_directories(dir.path("a/b"));
    ChangeNotification tree;
    ASSERT_TRUE(tree.open(dir.path(), ChangeKind::FileName, true));
    dir.write("a/b/deep.txt", "x");
    EXPECT_TRUE(tree.signalled());
    std::filesystem::create_directory(dir.path("new"));
    (void)tree.signalled();
    dir.write("new/inside.txt", "x"); // a folder made after the start is watched too
    EXPECT_TRUE(tree.signalled());

    ChangeNotification flat;
    ASSERT_TRUE(flat.open(dir.path(), ChangeKind::FileName, false));
    dir.write("a/b/deeper.txt", "x");
    EXPECT_FALSE(flat.signalled());

    ChangeNotification missing;
    EXPECT_FALSE(missing.open(dir.path("does/not/exist"), ChangeKind::FileName, false));
    EXPECT_FALSE(missing.signalled());
}
