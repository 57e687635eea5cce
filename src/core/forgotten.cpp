#include "forgotten.h"

#include "inifile.h"

#include <algorithm>
#include <charconv>

namespace vendle {

void ForgottenDocuments::forget(const std::string& path, std::int64_t unixSeconds) {
    byPath_[path] = unixSeconds;
    while (byPath_.size() > kMostForgotten) {
        const auto oldest = std::min_element(
            byPath_.begin(), byPath_.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        byPath_.erase(oldest);
    }
}

bool ForgottenDocuments::admits(const std::string& path, std::int64_t usedAt) {
    const auto it = byPath_.find(path);
    if (it == byPath_.end())
        return true;
    if (usedAt <= it->second)
        return false;
    byPath_.erase(it);
    return true;
}

// One key a document: "<n>=<Unix seconds> <path>".
void ForgottenDocuments::read(const MemIniFile& ini) {
    byPath_.clear();
    for (std::size_t n = 1; n <= kMostForgotten; ++n) {
        const std::string value = ini.ReadString(kSection, std::to_string(n), "");
        if (value.empty())
            break;
        const std::size_t blank = value.find(' ');
        std::int64_t when = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + std::min(blank, value.size()), when);
        if (blank == std::string::npos || error != std::errc() || end != value.data() + blank ||
            blank + 1 == value.size())
            continue; // a damaged line is passed over
        byPath_[value.substr(blank + 1)] = when;
    }
}

void ForgottenDocuments::write(MemIniFile& ini) const {
    ini.EraseSection(kSection);
    std::size_t n = 0;
    for (const auto& [path, when] : byPath_)
        ini.WriteString(kSection, std::to_string(++n), std::to_string(when) + " " + path);
}

} // namespace vendle
