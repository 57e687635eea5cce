#include "platform/system.h"

#include <gtest/gtest.h>

#include <cerrno>

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
