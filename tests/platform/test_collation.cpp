// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/history.h"
#include "historyprobe.h"
#include "platform/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace vendle;

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

std::string randomAscii(std::mt19937& rng, const std::string& alphabet, std::size_t maxLength) {
    std::string text;
    const std::size_t length = rng() % (maxLength + 1);
    for (std::size_t i = 0; i < length; ++i)
        text += alphabet[rng() % alphabet.size()];
    return text;
}

class NoShell final : public ShellQuery {
public:
    ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
};

} // namespace

TEST(UserCollation, QuickKeysOfAsciiTextOrderAsTheCollatorDoes) {
    std::string everyAscii;
    for (int c = 0; c < 128; ++c)
        everyAscii += static_cast<char>(c);
    const std::string tieProne = "aAbB01_- .\t\x01zZ";
    for (const char* locale : {"ja_JP.UTF-8", "en_US.UTF-8"}) {
        const auto collator = platform::userCollator(locale);
        std::string probe;
        ASSERT_TRUE(collator->appendQuickKey("Report-1.txt", probe)) << locale;
        probe.clear();
        EXPECT_FALSE(collator->appendQuickKey("報告書.txt", probe));
        std::mt19937 rng(11);
        std::vector<std::pair<std::string, std::string>> samples;
        for (int i = 0; i < 4000; ++i) {
            std::string text = randomAscii(rng, i % 2 ? everyAscii : tieProne, i % 3 ? 8 : 24);
            std::string key;
            ASSERT_TRUE(collator->appendQuickKey(text, key));
            samples.emplace_back(std::move(key), std::move(text));
        }
        std::sort(samples.begin(), samples.end());
        for (std::size_t i = 1; i < samples.size(); ++i) {
            ASSERT_EQ(sign(samples[i - 1].first.compare(samples[i].first)),
                      collator->compare(samples[i - 1].second, samples[i].second))
                << locale << ": \"" << samples[i - 1].second << "\" / \"" << samples[i].second << "\"";
        }
        for (int i = 0; i < 4000; ++i) {
            const auto& a = samples[rng() % samples.size()];
            const auto& b = samples[rng() % samples.size()];
            ASSERT_EQ(sign(a.first.compare(b.first)), collator->compare(a.second, b.second))
                << locale << ": \"" << a.second << "\" / \"" << b.second << "\"";
        }
    }
}

TEST(UserCollation, LettersThatCombineInTheLocaleGetNoQuickKeys) {
    // Danish sorts "aa" as one letter after z, Czech "ch" after h: text cannot be keyed one
    // character at a time there.
    for (const char* locale : {"da_DK.UTF-8", "cs_CZ.UTF-8"}) {
        const auto collator = platform::userCollator(locale);
        std::string key;
        EXPECT_FALSE(collator->appendQuickKey("aach", key)) << locale;
    }
    const auto danish = platform::userCollator("da_DK.UTF-8");
    EXPECT_GT(danish->compare("aa", "z"), 0);
}

TEST(UserCollation, MixedNamesSortAsTheCollatorComparesThem) {
    // ASCII names take quick keys, the others full keys, and the two lists are merged: the result
    // must be the collator's order throughout, in both directions, whatever the list's length.
    const auto collator = platform::userCollator("ja_JP.UTF-8");
    const char* const stems[] = {"report",   "Report", "REPORT", "報告書", "ほうこく",
                                 "ホウコク", "ﾎｳｺｸ",   "résumé", "resume", "Resume",
                                 "議事録",   "abc",    "ABC",    "ａｂｃ", "_draft"};
    for (int count : {40, 30'000}) {
        NoShell shell;
        HistoryList list(PathSyntax::posix(), shell);
        std::mt19937 rng(3);
        for (int i = 0; i < count; ++i) {
            const std::string name = std::string(stems[rng() % std::size(stems)]) + (rng() % 2 ? "-" : "") +
                                     std::to_string(rng() % 50) + ".txt";
            list.AddItem("/d" + std::to_string(i) + "/" + name);
        }
        for (bool desc : {false, true}) {
            std::vector<const HistoryItem*> all;
            for (int i = 0; i < list.ItemCount(); ++i)
                all.push_back(&list.Item(i));
            test::HistoryProbe::setView(list, std::move(all));
            list.SortColumn = 1;
            list.SortDescending = desc;
            list.sortView(*collator);
            for (int i = 1; i < list.ViewCount(); ++i) {
                const std::string a = std::string(fileNameOf(list.ViewItem(i - 1).Path, list.syntax()));
                const std::string b = std::string(fileNameOf(list.ViewItem(i).Path, list.syntax()));
                const int c = collator->compare(a, b);
                ASSERT_TRUE(desc ? c >= 0 : c <= 0) << count << " " << a << " / " << b;
            }
        }
    }
}

TEST(KanaWidthFolder, KanaAndWidthFoldTogetherAndMatchesMapBackToTheOriginalText) {
    const auto folder = vendle::platform::kanaWidthFolder();
    EXPECT_EQ(folder->folded("ﾚﾎﾟｰﾄ"), folder->folded("レポート"));
    EXPECT_EQ(folder->folded("ａｂｃ.txt"), "abc.txt");
    EXPECT_EQ(folder->folded("ABC"), "abc");
    EXPECT_EQ(folder->folded("１２３　ＸＹ"), "123 xy");
    EXPECT_NE(folder->folded("がき"), folder->folded("かき")); // voicing still counts
    EXPECT_EQ(folder->folded("漢字/議事録"), "漢字/議事録");
    // Voicing is part of the character: a base kana never matches a voiced one's first half.
    EXPECT_FALSE(vendle::findFolded("ばか.txt", folder->folded("は"), *folder));
    EXPECT_FALSE(vendle::findFolded("ちば", folder->folded("ちは"), *folder));
    EXPECT_EQ(folder->folded("ぱ"), folder->folded("ﾊﾟ"));
    EXPECT_EQ(folder->folded("ハ"), folder->folded("ﾊ"));
    EXPECT_EQ(folder->folded("は"), folder->folded("ハ"));
    EXPECT_EQ(folder->folded("か\xe3\x82\x99"), folder->folded("が")); // か with a combining mark
    const std::string halfWidth = "/d/ﾊﾟﾝ.txt";
    const auto voiced = vendle::findFolded(halfWidth, folder->folded("ぱ"), *folder);
    ASSERT_TRUE(voiced);
    EXPECT_EQ(halfWidth.substr(voiced->first, voiced->second), "ﾊﾟ");

    // The match in the original text, whole characters: "ﾎﾟ" is two characters of the name.
    const std::string name = "/d/ﾚﾎﾟｰﾄ_案.txt";
    const auto match = vendle::findFolded(name, folder->folded("ぽー"), *folder);
    ASSERT_TRUE(match);
    EXPECT_EQ(name.substr(match->first, match->second), "ﾎﾟｰ");
    const auto full = vendle::findFolded("ＡＢＣ.txt", folder->folded("abc"), *folder);
    ASSERT_TRUE(full);
    EXPECT_EQ(std::string("ＡＢＣ.txt").substr(full->first, full->second), "ＡＢＣ");
    EXPECT_FALSE(vendle::findFolded("abc", folder->folded("x"), *folder));
    // A broken byte sequence is kept, not lost.
    EXPECT_EQ(folder->folded(std::string("a\xff"
                                         "b")),
              std::string("a\xff"
                          "b"));
}
