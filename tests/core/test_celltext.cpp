// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/celltext.h"
#include "historyprobe.h"

#include <gtest/gtest.h>

using namespace vendle;

namespace {

// Every byte is 7 pixels wide.
const MeasureText kMeasure = [](std::string_view s) { return static_cast<int>(s.size()) * 7; };

std::vector<std::string> shrinkSteps(const std::string& text, const PathSyntax& syntax) {
    std::vector<std::string> steps;
    for (int width = kMeasure(text); width >= 0; --width) {
        const std::string s = ShortenPath(text, width, syntax, kMeasure);
        if (steps.empty() || steps.back() != s)
            steps.push_back(s);
    }
    return steps;
}

class NoShell final : public ShellQuery {
public:
    ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
};

} // namespace

TEST(ShortenPath, WindowsFolderShrinksStepByStep) {
    EXPECT_EQ(shrinkSteps("C:\\Documents\\Work\\Reports\\", PathSyntax::windows()),
              (std::vector<std::string>{"C:\\Documents\\Work\\Reports\\", "C:\\...\\Work\\Reports\\",
                                        "C:\\...\\Reports\\", "C:\\...\\", "...\\", ""}));
}

TEST(ShortenPath, PosixFolderShrinksStepByStep) {
    EXPECT_EQ(shrinkSteps("/home/user/Documents/Work/", PathSyntax::posix()),
              (std::vector<std::string>{"/home/user/Documents/Work/", "/.../user/Documents/Work/",
                                        "/.../Documents/Work/", "/.../Work/", "/.../", ".../", ""}));
}

TEST(ShortenPath, KeepsTheNameAndFitsWhenPossible) {
    EXPECT_EQ(ShortenPath("/a/b/name.txt", 1000, PathSyntax::posix(), kMeasure), "/a/b/name.txt");
    EXPECT_EQ(ShortenPath("/a/bb/name.txt", 7 * 13, PathSyntax::posix(), kMeasure), "/.../name.txt");
    EXPECT_EQ(ShortenPath("/a/bb/name.txt", 7 * 12, PathSyntax::posix(), kMeasure), ".../name.txt");
    EXPECT_EQ(ShortenPath("/a/bb/name.txt", 0, PathSyntax::posix(), kMeasure), "name.txt");
    // A CP932 folder whose last byte is 0x5C is one folder, not a separator.
    const std::string hyou = "\x95\x5C";
    EXPECT_EQ(ShortenPath("C:\\" + hyou + hyou + hyou + "\\x\\", 7 * 9, PathSyntax::windows(), kMeasure),
              "C:\\...\\x\\");
}

TEST(CutFirstFolder, Rules) {
    const PathSyntax win = PathSyntax::windows();
    std::string s = "\\";
    CutFirstFolder(s, win);
    EXPECT_EQ(s, "");
    s = "a\\b\\";
    CutFirstFolder(s, win);
    EXPECT_EQ(s, "...\\b\\");
    s = "...\\b\\";
    CutFirstFolder(s, win);
    EXPECT_EQ(s, "...\\");
    s = "noseparator";
    CutFirstFolder(s, win);
    EXPECT_EQ(s, "");
}

TEST(HighlightSplit, FirstMatchCaseInsensitive) {
    const auto s = highlightSplit("Report.doc", "DOC", CodePage::utf8());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->before, "Report.");
    EXPECT_EQ(s->match, "doc");
    EXPECT_EQ(s->after, "");
    const auto twice = highlightSplit("aXbxc", "x", CodePage::utf8());
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->before, "a");
    EXPECT_EQ(twice->after, "bxc");
    EXPECT_FALSE(highlightSplit("Report.doc", "", CodePage::utf8()));
    EXPECT_FALSE(highlightSplit("Report.doc", "xls", CodePage::utf8()));
    const auto jp = highlightSplit("議事録_報告書.odt", "報告", CodePage::utf8());
    ASSERT_TRUE(jp);
    EXPECT_EQ(jp->before, "議事録_");
    EXPECT_EQ(jp->after, "書.odt");
}

TEST(CellText, ColumnsAndTheEmptyView) {
    NoShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    const auto ja = DateTimeFormat::japanese();
    EXPECT_EQ(CellText(history, 1, 1, ja), "該当なし");
    EXPECT_EQ(CellText(history, 0, 1, ja), "");
    EXPECT_EQ(CellText(history, 2, 1, ja), "");
    const HistoryItem* item =
        history.AddItem("/home/u/Docs/Report.doc", encodeDate(2001, 7, 4) + encodeTime(9, 5, 3, 0));
    test::HistoryProbe::setView(history, {item});
    EXPECT_EQ(CellText(history, 0, 1, ja), "");
    EXPECT_EQ(CellText(history, 1, 1, ja), "Report.doc");
    EXPECT_EQ(CellText(history, 2, 1, ja), "/home/u/Docs/");
    EXPECT_EQ(CellText(history, 3, 1, ja), "DOC ファイル");
    EXPECT_EQ(CellText(history, 4, 1, ja), "2001/07/04 09:05:03");
    EXPECT_EQ(CellText(history, 1, 2, ja), ""); // past the last row
}
