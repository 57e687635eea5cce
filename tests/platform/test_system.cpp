// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/autostart.h"
#include "platform/system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace vendle;

TEST(PlatformSystem, ExecutableAndCompanionFiles) {
    const std::string exe = platform::executablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.front(), '/');
    EXPECT_NE(exe.find("platform_tests"), std::string::npos);
    EXPECT_EQ(platform::companionFilePath("/opt/vendle/vendle", ".ini"), "/opt/vendle/vendle.ini");
    EXPECT_EQ(platform::companionFilePath("/opt/vendle/vendle.exe", ".dat"), "/opt/vendle/vendle.dat");
    EXPECT_EQ(platform::companionFilePath("/opt/v.1/vendle", ".chm"), "/opt/v.1/vendle.chm");
}

TEST(PlatformSystem, ErrorTexts) {
    EXPECT_FALSE(platform::SystemErrorText(ENOENT).empty());
    EXPECT_NE(platform::SystemErrorText(ENOENT), platform::SystemErrorText(EACCES));
}

// The autostart entry is written as every file of the program is: never through a link to
// something that is not a regular file.
TEST(PlatformSystem, TheAutostartEntryIsNeverWrittenThroughALinkToAFifo) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vendle-autostart-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path entry = dir / "Vendle.desktop";
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("fifo", entry);
    EXPECT_FALSE(platform::CreateShortcut("/opt/vendle/vendle", entry.string(), "Vendle", "/opt/vendle/"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo"));
    std::filesystem::remove(entry);
    EXPECT_TRUE(platform::CreateShortcut("/opt/vendle/vendle", entry.string(), "Vendle", "/opt/vendle/"));
    EXPECT_TRUE(std::filesystem::is_regular_file(entry));
    std::filesystem::remove_all(dir);
}

// A relative base folder is invalid and dropped, so that the defaults apply; absolute ones stay.
TEST(PlatformSystem, RelativeBaseFoldersAreDropped) {
    ::setenv("XDG_CONFIG_HOME", "relcfg", 1);
    ::setenv("XDG_DATA_HOME", "/abs/data", 1);
    EXPECT_EQ(platform::dropRelativeBaseDirectories(), std::vector<std::string>{"XDG_CONFIG_HOME"});
    EXPECT_EQ(std::getenv("XDG_CONFIG_HOME"), nullptr);
    EXPECT_STREQ(std::getenv("XDG_DATA_HOME"), "/abs/data");
    ::unsetenv("XDG_DATA_HOME");
}
