// SPDX-License-Identifier: GPL-3.0-or-later
// What the grid's cells say: the text of each column, the folder text shortened to a width, and
// the split of a cell text around the first match of the search text. Widths come from a
// measuring callback so that this logic needs no screen.
#pragma once

#include "datetimeformat.h"
#include "history.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vendle {

// Width of a text in pixels.
using MeasureText = std::function<int(std::string_view)>;

// The text of data cell (column, row), rows counted from 1. Column 0 is drawn as the row number
// and gives an empty text; with an empty view column 1 gives "該当なし".
std::string CellText(const HistoryList& history, int column, int row, const DateTimeFormat& fmt);

// Removes the first folder of a directory text: "/a/b/" gives "/.../b/", "/.../b/" gives "/.../",
// "/" gives "". The separator is the syntax's own.
void CutFirstFolder(std::string& dir, const PathSyntax& syntax);

// The path text shortened folder by folder until it fits `maxWidth`: a drive stays in front of
// "\...\" as long as possible, then "...\" alone, then nothing.
std::string ShortenPath(std::string_view text, int maxWidth, const PathSyntax& syntax,
                        const MeasureText& measure);

struct HighlightSplit {
    std::string_view before;
    std::string_view match;
    std::string_view after;
};

// The cell text split around the first case-insensitive occurrence of `search` on a character
// boundary; nullopt when the search text is empty or does not occur.
std::optional<HighlightSplit> highlightSplit(std::string_view text, std::string_view search, CodePage cp);
// The same for a search that ignores kana and width: the characters of `text` that match.
std::optional<HighlightSplit> highlightSplitFolded(std::string_view text, std::string_view search,
                                                   const TextFolder& folder);

} // namespace vendle
