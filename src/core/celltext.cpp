// SPDX-License-Identifier: GPL-3.0-or-later
#include "celltext.h"
#include "core/texts.h"

#include "text.h"

namespace vendle {

namespace {

// Byte offset of the first separator that is a character of its own, or npos.
std::size_t firstSeparator(std::string_view s, const PathSyntax& syntax) {
    const char sep = syntax.separator();
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t len = syntax.codePage.charLength(s, i);
        if (len == 1 && s[i] == sep)
            return i;
        i += len;
    }
    return std::string_view::npos;
}

} // namespace

std::string CellText(const HistoryList& history, int column, int row, const DateTimeFormat& fmt) {
    if (history.ViewCount() == 0)
        return column == ColumnName ? textIn("History", "該当なし") : "";
    if (row < 1 || row > history.ViewCount())
        return {};
    const HistoryItem& item = history.ViewItem(row - 1);
    const PathSyntax& syntax = history.syntax();
    switch (column) {
    case ColumnName:
        return std::string(fileNameOf(item.Path, syntax));
    case ColumnFolder:
        return std::string(directoryOf(item.Path, syntax));
    case ColumnType:
        return item.TypeName();
    case ColumnTime:
        return formatGridDateTime(item.LastUsed, fmt);
    default:
        return {};
    }
}

void CutFirstFolder(std::string& dir, const PathSyntax& syntax) {
    const char sep = syntax.separator();
    if (dir.size() == 1 && dir[0] == sep) {
        dir.clear();
        return;
    }
    const bool rooted = !dir.empty() && dir[0] == sep;
    if (rooted)
        dir.erase(0, 1);
    if (!dir.empty() && dir[0] == '.')
        dir.erase(0, std::min<std::size_t>(4, dir.size()));
    const std::size_t cut = firstSeparator(dir, syntax);
    if (cut == std::string::npos)
        dir.clear();
    else
        dir = std::string("...") + sep + dir.substr(cut + 1);
    if (rooted)
        dir.insert(dir.begin(), sep);
}

std::string ShortenPath(std::string_view text, int maxWidth, const PathSyntax& syntax,
                        const MeasureText& measure) {
    const std::size_t split = lastDelimiter(text, syntax);
    std::string dir(split == std::string_view::npos ? std::string_view() : text.substr(0, split + 1));
    const std::string name(text.substr(dir.size()));
    std::string drive;
    if (syntax.kind == PathSyntax::Kind::Windows && dir.size() >= 2 && dir[1] == ':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    const std::string rootedEllipsis = std::string(1, syntax.separator()) + "..." + syntax.separator();
    std::string result(text);
    while ((!dir.empty() || !drive.empty()) && measure(result) > maxWidth) {
        if (dir == rootedEllipsis) {
            drive.clear();
            dir = dir.substr(1);
        } else if (dir.empty()) {
            drive.clear();
        } else {
            CutFirstFolder(dir, syntax);
        }
        result = drive;
        result += dir;
        result += name;
    }
    return result;
}

std::optional<HighlightSplit> highlightSplit(std::string_view text, std::string_view search, CodePage cp) {
    if (search.empty())
        return std::nullopt;
    const std::size_t at = findNoCase(text, search, cp);
    if (at == std::string_view::npos)
        return std::nullopt;
    return HighlightSplit{text.substr(0, at), text.substr(at, search.size()),
                          text.substr(at + search.size())};
}

std::optional<HighlightSplit> highlightSplitFolded(std::string_view text, std::string_view search,
                                                   const TextFolder& folder) {
    const auto match = findFolded(text, folder.folded(search), folder);
    if (!match)
        return std::nullopt;
    return HighlightSplit{text.substr(0, match->first), text.substr(match->first, match->second),
                          text.substr(match->first + match->second)};
}

} // namespace vendle
