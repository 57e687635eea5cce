// SPDX-License-Identifier: GPL-3.0-or-later
// Building the grid's view from the history: the search text, the age, type and folder filters,
// the sort, the count label, and the representatives the type and folder filter menus list.
#pragma once

#include "history.h"

#include <string>
#include <vector>

namespace vendle {

// Rebuilds the history's view from Items in order with the filter and sorts it by the history's
// sort column and direction; a search that ignores kana and width folds with `folder`.
void ApplyFilter(HistoryList& history, const ViewFilter& filter, const Collator& collator,
                 const TextFolder* folder = nullptr);

// "%d個のファイル", or "%d個のファイル中%d個マッチしました。" while anything filters.
std::string countLabelText(int itemCount, int viewCount, bool filtered);

// Start of the age filter for a menu tag: 0 for no limit, else midnight of today minus (days - 1).
DateTime filterSinceForDays(int days, DateTime now);

// The first item of each distinct TypeName, sorted by TypeName.
std::vector<const HistoryItem*> typeRepresentatives(const HistoryList& history, const Collator& collator);

// The first item of each FolderName that at least two items share, sorted by FolderName.
std::vector<const HistoryItem*> folderRepresentatives(const HistoryList& history, const Collator& collator);

} // namespace vendle
