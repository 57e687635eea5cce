// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/volumes.h"

#include <gtest/gtest.h>

using namespace vendle;

TEST(Volumes, MountTableRootsAndSlowFileSystems) {
    const std::vector<MountEntry> mounts =
        parseMountInfo("22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                       "40 22 8:17 / /media/alice/USB\\040Stick rw,nosuid shared:5 - vfat /dev/sdb1 rw\n"
                       "41 22 0:50 / /mnt/share rw - cifs //server/share rw\n"
                       "broken line\n"
                       "42 22 0:51 / /run/user/1000/gvfs rw,nosuid - fuse.gvfsd-fuse gvfsd-fuse rw\n");
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[1].mountPoint, "/media/alice/USB Stick");
    EXPECT_EQ(mounts[2].fsType, "cifs");

    const std::vector<std::string> roots{"/media/alice/", "/run/media/alice/", "/media/", "/mnt/",
                                         "/run/user/1000/gvfs/"};
    EXPECT_EQ(volumeRootOf("/media/alice/USB Stick/a/b.txt", roots), "/media/alice/USB Stick");
    EXPECT_EQ(volumeRootOf("/media/alice/Card/x.txt", roots), "/media/alice/Card");
    EXPECT_EQ(volumeRootOf("/mnt/nas/x.txt", roots), "/mnt/nas");
    EXPECT_EQ(volumeRootOf("/home/alice/x.txt", roots), "");
    EXPECT_EQ(volumeRootOf("/mnt", roots), "");

    EXPECT_TRUE(isMountPoint(mounts, "/media/alice/USB Stick"));
    EXPECT_FALSE(isMountPoint(mounts, "/media/alice/Card")); // not plugged in
    EXPECT_EQ(mountOf(mounts, "/mnt/share/doc.txt")->fsType, "cifs");
    EXPECT_EQ(mountOf(mounts, "/mnt/shared/doc.txt")->mountPoint, "/"); // a folder prefix, not a text one
    EXPECT_TRUE(isSlowFileSystem("cifs"));
    EXPECT_TRUE(isSlowFileSystem("fuse.gvfsd-fuse"));
    EXPECT_FALSE(isSlowFileSystem("ext4"));
}
