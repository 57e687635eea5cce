// SPDX-License-Identifier: GPL-3.0-or-later
// Random and damaged input for every reader of outside data: none may crash, hang or read out of
// bounds (run under AddressSanitizer to see the latter), and the writers' output reads back.
#include "core/celltext.h"
#include "core/desktopentry.h"
#include "core/inifile.h"
#include "core/numericpicture.h"
#include "core/shelllink.h"
#include "core/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace vendle;

namespace {

std::string randomBytes(std::mt19937& rng, std::size_t maxLength, std::string_view alphabet = {}) {
    std::string s(rng() % (maxLength + 1), '\0');
    for (char& c : s)
        c = alphabet.empty() ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
    return s;
}

std::string mutate(std::mt19937& rng, std::string bytes) {
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits && !bytes.empty(); ++i) {
        const std::size_t at = rng() % bytes.size();
        switch (rng() % 3) {
        case 0:
            bytes[at] = static_cast<char>(rng() & 0xFF);
            break;
        case 1:
            bytes.erase(at, 1 + rng() % 16);
            break;
        default:
            bytes.insert(at, 1 + rng() % 4, static_cast<char>(rng() & 0xFF));
        }
    }
    return bytes;
}

} // namespace

TEST(Robustness, ShellLinksMutatedFromRealSamples) {
    std::mt19937 rng(1);
    std::vector<std::string> samples;
    for (const auto& e :
         std::filesystem::directory_iterator(std::filesystem::path(VENDLE_TEST_DATA) / "lnk")) {
        if (e.path().extension() == ".lnk") {
            std::ifstream in(e.path(), std::ios::binary);
            samples.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    ASSERT_FALSE(samples.empty());
    int parsed = 0;
    for (int i = 0; i < 3000; ++i) {
        const auto link = parseShellLink(mutate(rng, samples[rng() % samples.size()]));
        if (link) {
            ++parsed;
            (void)shellLinkTargetPath(*link);
        }
    }
    EXPECT_GT(parsed, 0); // many mutations hit parts the reader skips
}

TEST(Robustness, TextReadersTakeAnyBytes) {
    std::mt19937 rng(2);
    using namespace std::literals;
    const std::string_view iniAlphabet = "[]=;\r\n\tabcAB 0x1\0\x82\x5c"sv;
    const std::string_view desktopAlphabet = "[]=$\\%fileHOMEURL:/\n e0aZ"sv;
    for (int i = 0; i < 2000; ++i) {
        const std::string raw = randomBytes(rng, 200);
        MemIniFile ini;
        ini.parse(i % 2 ? raw : randomBytes(rng, 200, iniAlphabet));
        // Whatever was read writes out text that reads back to the same text.
        MemIniFile again;
        again.parse(ini.serialize());
        EXPECT_EQ(again.serialize(), ini.serialize());

        (void)desktopLinkTarget(i % 2 ? raw : randomBytes(rng, 200, desktopAlphabet), "/home/u");
        (void)fileUriToPath(raw);
        (void)TextToValue(raw);
        (void)tryStrToDateTime(raw, DateTimeFormat::usEnglish());
        std::vector<std::string> pieces;
        for (CodePage cp : {CodePage::utf8(), CodePage::cp932()}) {
            const int n = SplitByChar(pieces, raw, '\t', cp);
            std::string joined;
            for (int k = 0; k < n; ++k)
                joined += (k ? "\t" : "") + pieces[static_cast<std::size_t>(k)];
            EXPECT_EQ(joined, raw); // splitting loses and adds nothing
            (void)PosNoCase(raw, raw.substr(raw.size() / 2), cp);
            (void)cutToBytes(raw, 62, cp);
        }
        const MeasureText measure = [](std::string_view s) { return static_cast<int>(s.size()); };
        (void)ShortenPath(raw, static_cast<int>(rng() % 50), PathSyntax::windows(), measure);
        (void)ShortenPath(raw, static_cast<int>(rng() % 50), PathSyntax::posix(), measure);
    }
}

TEST(Robustness, PicturesOfExtremeValues) {
    for (long double v : {0.0L, -0.0L, 1e30L, -1e30L, 1e-30L, 123456789.987654321L}) {
        const std::string text = FormatPicture("#,##0.00", v);
        EXPECT_FALSE(text.empty());
        if (v < 1e17L && v > -1e17L) {
            EXPECT_NEAR(static_cast<double>(TextToValue(text).value), static_cast<double>(v), 0.006);
        }
    }
}
