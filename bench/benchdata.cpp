// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchdata.h"

#include "historyprobe.h"

#include <map>
#include <random>

namespace vendle::bench {

namespace {

const char* const kExtensions[30] = {".txt", ".odt", ".ods", ".odp", ".pdf", ".png",  ".jpg", ".svg",
                                     ".cpp", ".h",   ".md",  ".py",  ".js",  ".html", ".css", ".json",
                                     ".xml", ".csv", ".zip", ".gz",  ".doc", ".docx", ".xls", ".xlsx",
                                     ".ppt", ".mp3", ".mp4", ".log", ".ini", ".sh"};
const char* const kWords[] = {"report",   "minutes",  "budget", "plan",   "draft",
                              "summary",  "invoice",  "notes",  "design", "review",
                              "proposal", "schedule", "photo",  "backup", "letter"};
const char* const kJapanese[] = {"議事録", "報告書", "見積書", "企画書", "請求書",
                                 "打合せ", "資料",   "写真",   "日報"};

} // namespace

std::vector<Document> makeDocuments(std::size_t count, const std::string& root) {
    std::mt19937 rng(20261208);
    std::vector<std::string> folders;
    for (int i = 0; i < 200; ++i) {
        std::string f = root + "/" + (i % 4 == 0 ? "共有/プロジェクト" : "Documents/projects") + "/group" +
                        std::to_string(i % 17) + "/folder" + std::to_string(i);
        folders.push_back(std::move(f));
    }
    const DateTime start = encodeDate(2025, 12, 8);
    std::vector<Document> docs;
    docs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& folder = folders[rng() % folders.size()];
        std::string name = (i % 5 == 0) ? std::string(kJapanese[rng() % 9]) + "_" + kJapanese[rng() % 9]
                                        : std::string(kWords[rng() % 15]) + "-" + kWords[rng() % 15];
        name += "_" + std::to_string(i);
        // Pad some names so that paths spread between 40 and 120 bytes.
        const std::size_t target = 40 + rng() % 81;
        std::string path = folder + "/" + name;
        while (path.size() + 5 < target)
            path += "x";
        path += kExtensions[rng() % 30];
        const DateTime when =
            start + static_cast<double>(rng() % 365) + static_cast<double>(rng() % 86400) / 86400;
        docs.push_back({std::move(path), when});
    }
    return docs;
}

const std::vector<Document>& documents(std::size_t count) {
    static std::map<std::size_t, std::vector<Document>> cache;
    auto& docs = cache[count];
    if (docs.empty())
        docs = makeDocuments(count, "/home/user");
    return docs;
}

ShellFileInfo NameShell::queryFileInfo(const std::string&) {
    return {};
}

void fill(HistoryList& history, const std::vector<Document>& docs) {
    history.presize(static_cast<long long>(docs.size()), docs.size());
    for (const Document& d : docs)
        history.AddItem(d.path, d.lastUsed);
    std::vector<const HistoryItem*> all;
    for (int i = 0; i < history.ItemCount(); ++i)
        all.push_back(&history.Item(i));
    test::HistoryProbe::setView(history, std::move(all));
}

} // namespace vendle::bench
