// SPDX-License-Identifier: GPL-3.0-or-later
#include "forgotten.h"

#include "settings.h"

#include <algorithm>
#include <charconv>
#include <tuple>
#include <utility>
#include <vector>

namespace vendle {

void ForgottenDocuments::add(const std::string& path, std::int64_t unixSeconds) {
    byPath_[path] = Entry{unixSeconds, next_++};
}

void ForgottenDocuments::forget(const std::string& path, std::int64_t unixSeconds) {
    add(path, unixSeconds);
    // The longest forgotten go first; within one second, the first forgotten.
    while (byPath_.size() > kMostForgotten) {
        const auto oldest =
            std::min_element(byPath_.begin(), byPath_.end(), [](const auto& a, const auto& b) {
                return std::tie(a.second.when, a.second.order) < std::tie(b.second.when, b.second.order);
            });
        byPath_.erase(oldest);
    }
}

bool ForgottenDocuments::admits(const std::string& path, std::int64_t usedAt) {
    const auto it = byPath_.find(path);
    if (it == byPath_.end())
        return true;
    if (usedAt <= it->second.when)
        return false;
    byPath_.erase(it);
    return true;
}

// One key a document: "<n>=<Unix seconds> <path>".
void ForgottenDocuments::read(const MemIniFile& ini) {
    byPath_.clear();
    for (const std::string& value : readList(ini, Setting::Forgotten)) {
        const std::size_t blank = value.find(' ');
        std::int64_t when = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + std::min(blank, value.size()), when);
        if (blank == std::string::npos || error != std::errc() || end != value.data() + blank ||
            blank + 1 == value.size())
            continue; // a damaged line is passed over
        add(value.substr(blank + 1), when);
    }
}

// In the order of forgetting, so that a later run drops them in the same order.
void ForgottenDocuments::write(MemIniFile& ini) const {
    std::vector<std::pair<const std::string*, Entry>> ordered;
    ordered.reserve(byPath_.size());
    for (const auto& [path, entry] : byPath_)
        ordered.emplace_back(&path, entry);
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        return std::tie(a.second.when, a.second.order) < std::tie(b.second.when, b.second.order);
    });
    std::vector<std::string> entries;
    entries.reserve(ordered.size());
    for (const auto& [path, entry] : ordered)
        entries.push_back(std::to_string(entry.when) + " " + *path);
    writeList(ini, Setting::Forgotten, entries);
}

} // namespace vendle
