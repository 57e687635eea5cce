// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shelllink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vendle;

namespace {

std::string fixture(const std::string& name) {
    std::ifstream in(std::filesystem::path(VENDLE_TEST_DATA) / "lnk" / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void put32At(std::string& bytes, std::size_t pos, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[pos + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string target(const std::string& file) {
    const auto link = parseShellLink(fixture(file));
    return link ? shellLinkTargetPath(*link) : "(unreadable)";
}

} // namespace

TEST(ShellLink, RealSamplesGiveTheirTargets) {
    EXPECT_EQ(target("microsoft_example.lnk"), "C:\\test\\a.txt");
    EXPECT_EQ(target("sample10.lnk"), "C:\\Program Files (x86)\\HDZB_USBKEY_NEW1G\\HDZB_USBKEY_NEW1G.exe");
    EXPECT_EQ(target("sample16.lnk"), "C:\\Users\\Asus-PC\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
    EXPECT_EQ(target("console_properties_block.lnk"),
              "C:\\Windows\\SysWOW64\\WindowsPowerShell\\v1.0\\powershell.exe");
    // A share with a suffix.
    EXPECT_EQ(target("network_info.lnk").rfind("\\\\10.0.0.150\\LMmetal\\A - LM METAL LIFT\\", 0), 0u);
    // No link info: no file-system path.
    EXPECT_EQ(target("broken_link_info.lnk"), "");
    EXPECT_EQ(target("sample3.lnk"), "");
    EXPECT_EQ(target("darwin_block.lnk"), "");
}

TEST(ShellLink, FlagsStringsAndEnvironmentBlock) {
    const auto link = parseShellLink(fixture("console_properties_block.lnk"));
    ASSERT_TRUE(link);
    EXPECT_TRUE(link->flags & LinkFlag::HasLinkInfo);
    EXPECT_TRUE(link->flags & LinkFlag::IsUnicode);
    EXPECT_TRUE(link->flags & LinkFlag::HasExpString);
    EXPECT_TRUE(link->workingDir.present);
    EXPECT_EQ(linkTextUtf8(link->environmentTarget),
              "%SystemRoot%\\syswow64\\WindowsPowerShell\\v1.0\\powershell.exe");
    const auto sample = parseShellLink(fixture("sample.lnk"));
    ASSERT_TRUE(sample);
    EXPECT_EQ(linkTextUtf8(sample->environmentTarget), "C:\\Users\\%USERNAME%\\AppData\\Roaming\\.minecraft");
}

TEST(ShellLink, NarrowPathsGoThroughTheDecoder) {
    // decoding_error3.lnk holds a Cyrillic ANSI suffix; the decoder sees its raw bytes.
    const auto link = parseShellLink(fixture("decoding_error3.lnk"));
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->commonPathSuffix.unicode);
    EXPECT_EQ(link->commonPathSuffix.narrow.substr(0, 4), "\xC4\xE8\xEC\xE0");
    const auto shout = [](std::string_view s) { return "<" + std::string(s) + ">"; };
    EXPECT_EQ(shellLinkTargetPath(*link, +shout).rfind("<C:\\Users\\><\xC4", 0), 0u);
}

TEST(ShellLink, EverySampleParsesOrIsRefusedWithoutHarm) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(VENDLE_TEST_DATA) / "lnk")) {
        if (entry.path().extension() != ".lnk")
            continue;
        const std::string bytes = fixture(entry.path().filename().string());
        // Every prefix of the file: a truncated link is refused or read within bounds.
        for (std::size_t n = 0; n < std::min<std::size_t>(bytes.size(), 4096); n += 7)
            (void)parseShellLink(std::string_view(bytes).substr(0, n));
        EXPECT_TRUE(parseShellLink(bytes).has_value()) << entry.path();
    }
}

TEST(ShellLink, WrittenLinksReadBack) {
    const std::u16string path = u"C:\\文書\\報告 2026.txt";
    const std::string bytes = buildShellLink(path, u"説明", u"C:\\文書");
    const auto link = parseShellLink(bytes);
    ASSERT_TRUE(link);
    EXPECT_EQ(shellLinkTargetPath(*link), "C:\\文書\\報告 2026.txt");
    EXPECT_EQ(linkTextUtf8(link->name), "説明");
    EXPECT_EQ(linkTextUtf8(link->workingDir), "C:\\文書");
    EXPECT_FALSE(link->relativePath.present);
    EXPECT_EQ(link->localBasePath.narrow, "C:\\??\\?? 2026.txt"); // the ANSI form is a stand-in

    const auto bare = parseShellLink(buildShellLink(u"D:\\a.txt", u"", u""));
    ASSERT_TRUE(bare);
    EXPECT_FALSE(bare->name.present);
    EXPECT_EQ(shellLinkTargetPath(*bare), "D:\\a.txt");
}

TEST(ShellLink, LyingSizesAndOffsetsAreRefused) {
    const std::string good = buildShellLink(u"C:\\a.txt", u"x", u"");
    ASSERT_TRUE(parseShellLink(good));
    const std::size_t info = 0x4C; // no ID list: the link info follows the header

    std::string wrongHeader = good;
    put32At(wrongHeader, 0, 0x4D);
    EXPECT_FALSE(parseShellLink(wrongHeader));
    std::string wrongClsid = good;
    wrongClsid[4] = 0x02;
    EXPECT_FALSE(parseShellLink(wrongClsid));

    std::string infoTooLong = good;
    put32At(infoTooLong, info, 0x7FFFFFFF);
    EXPECT_FALSE(parseShellLink(infoTooLong));

    std::string pathOutside = good;
    put32At(pathOutside, info + 16, 0xFFFFFF00); // LocalBasePathOffset
    EXPECT_FALSE(parseShellLink(pathOutside));

    std::string widePathOutside = good;
    put32At(widePathOutside, info + 28, 0x10000); // LocalBasePathOffsetUnicode
    EXPECT_FALSE(parseShellLink(widePathOutside));

    std::string idList = good;
    put32At(idList, 20, LinkFlag::HasLinkTargetIDList | LinkFlag::HasLinkInfo | LinkFlag::IsUnicode);
    idList[info] = '\xFF'; // the size word now claims far more than the file holds
    idList[info + 1] = '\xFF';
    EXPECT_FALSE(parseShellLink(idList));

    std::string stringTooLong = good;
    const std::size_t infoSize =
        static_cast<unsigned char>(good[info]) | static_cast<unsigned char>(good[info + 1]) << 8;
    stringTooLong[info + infoSize] = '\xFF'; // the name's character count
    stringTooLong[info + infoSize + 1] = '\x7F';
    const auto damaged = parseShellLink(stringTooLong); // string data beyond the file: dropped
    ASSERT_TRUE(damaged);
    EXPECT_FALSE(damaged->name.present);
    EXPECT_EQ(shellLinkTargetPath(*damaged), "C:\\a.txt");

    // A link that says its link info must be ignored has no local path.
    std::string forced = good;
    put32At(forced, 20,
            LinkFlag::HasLinkInfo | LinkFlag::HasName | LinkFlag::IsUnicode | LinkFlag::ForceNoLinkInfo);
    const auto link = parseShellLink(forced);
    ASSERT_TRUE(link);
    EXPECT_EQ(shellLinkTargetPath(*link), "");
    EXPECT_EQ(linkTextUtf8(link->name), "x");
}

TEST(Utf16, RoundTripsAndReplacesBrokenSurrogates) {
    EXPECT_EQ(utf16ToUtf8(u"aé報😀"), "aé報😀");
    EXPECT_EQ(utf8ToUtf16("aé報😀"), u"aé報😀");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(utf8ToUtf16("\xE3\x81"), std::u16string(u"\xFFFD\xFFFD"));
}
