// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/desktopentry.h"

#include <gtest/gtest.h>

using namespace vendle;
using S = UriPath::Status;

TEST(DesktopEntry, ExecQuotingAndEntryText) {
    EXPECT_EQ(quoteExecArgument("/opt/vendle/vendle"), "/opt/vendle/vendle");
    EXPECT_EQ(quoteExecArgument("/opt/my apps/vendle"), "\"/opt/my apps/vendle\"");
    EXPECT_EQ(quoteExecArgument("/opt/$x`y\"z\\w"), "\"/opt/\\$x\\`y\\\"z\\\\w\"");
    EXPECT_EQ(quoteExecArgument("/opt/100%/v"), "/opt/100%%/v");
    const std::string text = formatDesktopEntry({"Vendle", "Vendle", "/opt/my apps/vendle", "/opt/my apps/"});
    EXPECT_EQ(text, "[Desktop Entry]\nType=Application\nName=Vendle\nComment=Vendle\n"
                    "Exec=\"/opt/my apps/vendle\"\nPath=/opt/my apps/\n");
    // Backslashes of the quoting are escaped once more as a string value.
    EXPECT_NE(formatDesktopEntry({"V", "V", "/a\\b", ""}).find("Exec=\"/a\\\\\\\\b\"\n"), std::string::npos);
}

TEST(DesktopEntry, TheProgramAnEntryStartsIsReadBackAsWritten) {
    // Whatever path was written, its entry names the same program.
    for (const char* path : {"/usr/bin/vendle", "/opt/my apps/vendle", "/opt/$x`y\"z\\w/v", "/opt/100%/v",
                             "/home/u/メモ/vendle"}) {
        const std::string text = formatDesktopEntry({"Vendle", "Vendle", path, "/"});
        EXPECT_EQ(desktopEntryProgram(text), std::optional<std::string>(path)) << text;
    }
    EXPECT_EQ(desktopEntryProgram("[Desktop Entry]\nExec=vendle --x %U\n"), "vendle");
    EXPECT_EQ(desktopEntryProgram("[Other]\nExec=/bin/x\n[Desktop Entry]\nName=V\n"), std::nullopt);
    EXPECT_EQ(desktopEntryProgram("[Desktop Entry]\nExec=\"/opt/unclosed\n"), std::nullopt);
    EXPECT_EQ(desktopEntryProgram("[Desktop Entry]\nExec=   \n"), std::nullopt);
}

TEST(FileUri, LocalPathsAndFailures) {
    EXPECT_EQ(fileUriToPath("file:///home/u/a%20b.txt").path, "/home/u/a b.txt");
    EXPECT_EQ(fileUriToPath("file:///home/u/%E5%A0%B1.txt").path, "/home/u/報.txt");
    EXPECT_EQ(fileUriToPath("FILE://localhost/tmp/x").path, "/tmp/x");
    EXPECT_EQ(fileUriToPath("file:/tmp/x").status, S::Ok);
    EXPECT_EQ(fileUriToPath("file:///tmp/x#frag").status, UriPath::Status::Undecodable);
    EXPECT_EQ(fileUriToPath("https://example.org/x").status, S::NotLocal);
    EXPECT_EQ(fileUriToPath("file://server/share/x").status, S::NotLocal);
    EXPECT_EQ(fileUriToPath("file:///tmp/%zz").status, S::Undecodable);
    EXPECT_EQ(fileUriToPath("file:///tmp/%4").status, S::Undecodable);
    EXPECT_EQ(fileUriToPath("file:///tmp/a%00b").status, S::Undecodable);
    EXPECT_EQ(fileUriToPath("file:relative").status, S::Undecodable);
}

TEST(DesktopLink, TargetsOfLinkFiles) {
    const std::string kde =
        "[Desktop Entry]\nIcon=text-plain\nName=a.txt\nType=Link\nURL[$e]=file:$HOME/Docs/a%20b.txt\n";
    const UriPath t = desktopLinkTarget(kde, "/home/u");
    EXPECT_EQ(t.status, S::Ok);
    EXPECT_EQ(t.path, "/home/u/Docs/a b.txt");
    EXPECT_EQ(desktopLinkTarget("[Desktop Entry]\r\nType=Link\r\nURL[$e]=file:///p/$$x\r\n", "/h").path,
              "/p/$x");
    EXPECT_EQ(desktopLinkTarget("[Desktop Entry]\nType=Link\nURL=file:///p/$HOME\n", "/h").path, "/p/$HOME");
    EXPECT_EQ(desktopLinkTarget("[Desktop Entry]\nType = Link\nURL = /plain/path\n", "/h").path,
              "/plain/path");
    EXPECT_EQ(desktopLinkTarget("[Desktop Entry]\nType=Application\nExec=x\nURL=file:///p\n", "/h").status,
              S::NotLocal);
    EXPECT_EQ(desktopLinkTarget("[Other]\nType=Link\nURL=file:///p\n", "/h").status, S::NotLocal);
    EXPECT_EQ(desktopLinkTarget("[Desktop Entry]\nType=Link\nURL=https://x.org/\n", "/h").status,
              S::NotLocal);
    EXPECT_EQ(desktopLinkTarget("[Desktop Entry]\nType=Link\nURL=file:///p/%G1\n", "/h").status,
              S::Undecodable);
    EXPECT_EQ(desktopLinkTarget("", "/h").status, S::NotLocal);
    EXPECT_EQ(desktopLinkTarget(std::string("\0\xff[Desktop", 9), "/h").status, S::NotLocal);
}

TEST(DesktopLink, APlainPathWithANulIsRefused) {
    // Found by fuzzing: the NUL would cut the path short when it reaches the file system.
    const std::string text("[Desktop Entry]\nType=Link\nURL[$e]=/file:$HO/Efil\0\0MDoc!b.txt\n", 61);
    EXPECT_EQ(desktopLinkTarget(text, "/home/u").status, UriPath::Status::Undecodable);
    EXPECT_EQ(desktopLinkTarget("[Desktop Entry]\nType=Link\nURL=/home/u/a.txt\n", "/home/u").path,
              "/home/u/a.txt");
}
