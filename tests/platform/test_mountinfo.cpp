#include "platform/linux/mountinfo.h"

#include <gtest/gtest.h>

using vendle::platform::linux_fs::renameCommitsDataFirst;

namespace {

const char* const kMountInfo =
    "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
    "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw,discard,resv_strict\n"
    "28 27 254:1 / /home rw,relatime shared:2 master:3 - ext4 /dev/vdb rw,noauto_da_alloc\n"
    "29 27 254:2 / /srv rw,relatime - ext4 /dev/vdc rw,data=writeback\n"
    "30 27 254:3 / /var rw,relatime - ext3 /dev/vdd rw,data=journal\n"
    "31 27 0:45 / /data rw,relatime - btrfs /dev/vde rw,space_cache=v2,subvolid=5\n"
    "32 27 254:5 / /xfs rw,relatime - xfs /dev/vdf rw,attr2,inode64\n"
    "33 27 0:46 / /tmp rw,nosuid - tmpfs tmpfs rw,size=1024k\n"
    "34 27 254:6 / /old rw - ext2 /dev/vdg rw\n"
    "35 27 254:7 / /mnt/with\\040blank rw - ext4 /dev/vdh rw\n"
    "36 27 254:8 broken line\n"
    "37 27 254:9 / /odd rw - ext4\n";

} // namespace

TEST(MountInfo, OnlyFileSystemsThatCommitARenamedFilesDataFirstSkipTheFlush) {
    EXPECT_TRUE(renameCommitsDataFirst(kMountInfo, 254, 0));  // ext4 as mounted by default
    EXPECT_FALSE(renameCommitsDataFirst(kMountInfo, 254, 1)); // noauto_da_alloc, optional fields
    EXPECT_FALSE(renameCommitsDataFirst(kMountInfo, 254, 2)); // data=writeback
    EXPECT_TRUE(renameCommitsDataFirst(kMountInfo, 254, 3));  // ext3, data=journal
    EXPECT_TRUE(renameCommitsDataFirst(kMountInfo, 0, 45));   // btrfs
    EXPECT_FALSE(renameCommitsDataFirst(kMountInfo, 254, 5)); // xfs
    EXPECT_FALSE(renameCommitsDataFirst(kMountInfo, 0, 46));  // tmpfs
    EXPECT_FALSE(renameCommitsDataFirst(kMountInfo, 254, 6)); // ext2 has no journal
    EXPECT_TRUE(renameCommitsDataFirst(kMountInfo, 254, 7));  // escaped blank in the mount point
    EXPECT_FALSE(renameCommitsDataFirst(kMountInfo, 254, 8)); // a line that cannot be read
    EXPECT_FALSE(renameCommitsDataFirst(kMountInfo, 254, 9)); // no source and options
    EXPECT_FALSE(renameCommitsDataFirst(kMountInfo, 9, 9));   // not listed
    EXPECT_FALSE(renameCommitsDataFirst("", 254, 0));
    // Only the exact device matches, not one whose number starts the same way.
    EXPECT_FALSE(renameCommitsDataFirst("27 1 254:01 / / rw - ext4 /dev/vda rw\n", 254, 1));
}
