// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic but realistic history data for the benchmarks: paths of 40-120 bytes, a fifth with
// Japanese names, 200 folders, 30 extensions, times spread over a year.
#pragma once

#include "core/history.h"

#include <string>
#include <vector>

namespace vendle::bench {

struct Document {
    std::string path;
    DateTime lastUsed;
};

// `count` documents under `root` (which has no trailing slash); reproducible.
std::vector<Document> makeDocuments(std::size_t count, const std::string& root);

// The same `count` documents under /home/user for every caller, made once.
const std::vector<Document>& documents(std::size_t count);

// A shell that answers from the name alone, as the desktop does for a known extension.
class NameShell final : public ShellQuery {
public:
    ShellFileInfo queryFileInfo(const std::string& path) override;
};

// Fills a history with the documents (LastUsed set) and shows them all.
void fill(HistoryList& history, const std::vector<Document>& docs);

} // namespace vendle::bench
