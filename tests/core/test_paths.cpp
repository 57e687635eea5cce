// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/paths.h"

#include <gtest/gtest.h>

using namespace vendle;

namespace {
const PathSyntax kWin = PathSyntax::windows(CodePage::cp932());
const PathSyntax kPosix = PathSyntax::posix();
const std::string kHyou = "\x95\x5C"; // CP932 character whose trail byte is "\"
} // namespace

TEST(Paths, WindowsParts) {
    EXPECT_EQ(fileNameOf("C:\\Work\\Docs\\a.txt", kWin), "a.txt");
    EXPECT_EQ(directoryOf("C:\\Work\\Docs\\a.txt", kWin), "C:\\Work\\Docs\\");
    EXPECT_EQ(FolderName("C:\\Work\\Docs\\a.txt", kWin), "Docs");
    EXPECT_EQ(directoryOf("C:\\a.txt", kWin), "C:\\");
    EXPECT_EQ(FolderName("C:\\a.txt", kWin), "");
    EXPECT_EQ(fileNameOf("C:a.txt", kWin), "a.txt"); // the drive colon is a delimiter too
    EXPECT_EQ(extensionOf("C:\\Work.d\\README", kWin), "");
    EXPECT_EQ(extensionOf("C:\\Work\\archive.tar.gz", kWin), ".gz");
    EXPECT_EQ(FolderName("a.txt", kWin), "");
}

TEST(Paths, DoubleByteTrailBackslashIsNoDelimiter) {
    const std::string path = "C:\\" + kHyou + "\\" + kHyou + ".txt";
    EXPECT_EQ(fileNameOf(path, kWin), kHyou + ".txt");
    EXPECT_EQ(directoryOf(path, kWin), "C:\\" + kHyou + "\\");
    EXPECT_EQ(FolderName(path, kWin), kHyou);
    // A folder whose name ends in such a character.
    const std::string path2 = "C:\\A" + kHyou + "\\b";
    EXPECT_EQ(FolderName(path2, kWin), "A" + kHyou);
    EXPECT_EQ(extensionOf("C:\\x." + kHyou, kWin), "." + kHyou);
}

TEST(Paths, PosixParts) {
    EXPECT_EQ(fileNameOf("/home/user/Documents/a.txt", kPosix), "a.txt");
    EXPECT_EQ(directoryOf("/home/user/Documents/a.txt", kPosix), "/home/user/Documents/");
    EXPECT_EQ(FolderName("/home/user/Documents/a.txt", kPosix), "Documents");
    EXPECT_EQ(FolderName("/a.txt", kPosix), "");
    EXPECT_EQ(directoryOf("/a.txt", kPosix), "/");
    // Backslashes and colons are ordinary characters in POSIX names.
    EXPECT_EQ(fileNameOf("/tmp/a\\b:c.txt", kPosix), "a\\b:c.txt");
    EXPECT_EQ(FolderName("/home/user/報告書/計画.odt", kPosix), "報告書");
    EXPECT_EQ(extensionOf("/home/user/.bashrc", kPosix), ".bashrc");
    EXPECT_EQ(extensionOf("/home/user.d/notes", kPosix), "");
    // CP932 on POSIX syntax still walks characters.
    EXPECT_EQ(fileNameOf("/x/" + kHyou, PathSyntax::posix(CodePage::cp932())), kHyou);
}
