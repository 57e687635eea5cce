// SPDX-License-Identifier: GPL-3.0-or-later
#include "recentscan.h"

#include "log.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace vendle {

RecentImports::Identity RecentImports::identityOf(const RecentEntry& entry) {
    // FNV-1a over the name, a separator and the time's bytes.
    Identity h = 14'695'981'039'346'656'037ull;
    const auto mix = [&h](unsigned char byte) {
        h ^= byte;
        h *= 1'099'511'628'211ull;
    };
    for (const char c : entry.name)
        mix(static_cast<unsigned char>(c));
    mix(0);
    const auto seconds = static_cast<std::uint64_t>(entry.unixTime);
    for (int shift = 0; shift < 64; shift += 8)
        mix(static_cast<unsigned char>(seconds >> shift));
    const auto nanos = static_cast<std::uint32_t>(entry.nanos);
    for (int shift = 0; shift < 32; shift += 8)
        mix(static_cast<unsigned char>(nanos >> shift));
    return h;
}

void RecentImports::begin(const std::vector<RecentEntry>& present,
                          const std::optional<std::vector<Identity>>& saved,
                          std::optional<RecentEntry::Stamp> previousScan) {
    seen_.clear();
    if (saved) {
        seen_.insert(saved->begin(), saved->end());
        return;
    }
    for (const RecentEntry& entry : present) {
        if (!previousScan || !(entry.stamp() > *previousScan))
            seen_.insert(identityOf(entry));
    }
}

void RecentImports::settle(const std::vector<RecentEntry>& listing) {
    std::unordered_set<Identity> now;
    now.reserve(listing.size());
    for (const RecentEntry& entry : listing)
        now.insert(identityOf(entry));
    seen_ = std::move(now);
}

void RecentImports::adopt(std::unordered_set<Identity> listing) {
    seen_ = std::move(listing);
}

std::vector<RecentImports::Identity> RecentImports::identities() const {
    std::vector<Identity> out(seen_.begin(), seen_.end());
    std::sort(out.begin(), out.end());
    return out;
}

namespace {
constexpr std::string_view kIdentitiesHeader = "Vendle recent identities 1";
}

std::string identitiesText(const std::vector<RecentImports::Identity>& identities) {
    std::string text(kIdentitiesHeader);
    text += '\n';
    text.reserve(text.size() + identities.size() * 17);
    char line[24];
    for (const RecentImports::Identity id : identities) {
        std::snprintf(line, sizeof line, "%016llx\n", static_cast<unsigned long long>(id));
        text += line;
    }
    return text;
}

std::optional<std::vector<RecentImports::Identity>> identitiesFromText(std::string_view text) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos || text.substr(0, end) != kIdentitiesHeader)
        return std::nullopt;
    std::vector<RecentImports::Identity> out;
    text.remove_prefix(end + 1);
    while (!text.empty()) {
        const std::size_t eol = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, eol);
        RecentImports::Identity id = 0;
        const auto [ptr, err] = std::from_chars(line.data(), line.data() + line.size(), id, 16);
        if (line.size() != 16 || err != std::errc() || ptr != line.data() + line.size())
            return std::nullopt;
        out.push_back(id);
        text.remove_prefix(std::min(eol + 1, text.size()));
    }
    return out;
}

DateTime dosDateTime(std::int64_t unixTime) {
    const std::int64_t even = unixTime - (((unixTime % 2) + 2) % 2);
    return fromUnixTime(even);
}

void beginImports(RecentSource& source, RecentImports& imports,
                  const std::optional<std::vector<RecentImports::Identity>>& saved,
                  std::optional<RecentEntry::Stamp> previousScan) {
    std::vector<RecentEntry> entries;
    if (!source.list(entries))
        entries.clear();
    imports.begin(entries, saved, previousScan);
}

std::string stampText(RecentEntry::Stamp stamp) {
    char text[48];
    std::snprintf(text, sizeof text, "%lld.%09d", static_cast<long long>(stamp.seconds), stamp.nanos);
    return text;
}

std::optional<RecentEntry::Stamp> stampFromText(std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || text.size() - dot - 1 != 9)
        return std::nullopt;
    RecentEntry::Stamp stamp;
    const auto [endS, errS] = std::from_chars(text.data(), text.data() + dot, stamp.seconds);
    const auto [endN, errN] = std::from_chars(text.data() + dot + 1, text.data() + text.size(), stamp.nanos);
    if (errS != std::errc() || endS != text.data() + dot || errN != std::errc() ||
        endN != text.data() + text.size() || stamp.nanos < 0)
        return std::nullopt;
    return stamp;
}

ScanPlan planScan(RecentSource& source, const RecentImports& imports) {
    ScanPlan plan;
    std::vector<RecentEntry> entries;
    plan.listed = source.list(entries);
    if (!plan.listed)
        return plan;
    plan.listingSize = entries.size();
    plan.listing.reserve(entries.size());
    for (RecentEntry& entry : entries) {
        const RecentImports::Identity id = RecentImports::identityOf(entry);
        plan.listing.insert(id);
        if (!imports.isKnown(id))
            plan.fresh.push_back(std::move(entry));
    }
    return plan;
}

ScanResult applyScan(HistoryList& history, RecentSource& source, RecentImports& imports, ScanPlan plan,
                     DateTime& lastScanTime, DateTime scanStart, int dataMax,
                     const std::function<void()>& beforeChange, const ImportRule& admits,
                     const AwayRule& away) {
    ScanResult result;
    bool changing = false;
    const auto change = [&] {
        if (!changing && beforeChange)
            beforeChange();
        changing = true;
    };
    result.listed = plan.listed;
    if (result.listed) {
        for (const RecentEntry& entry : plan.fresh) {
            ++result.examined;
            ResolvedEntry resolved;
            try {
                resolved = source.resolve(entry);
            } catch (const ShortcutError& e) {
                result.failures.push_back(ScanFailure{entry.name, e.boxText(), e.what()});
                continue;
            }
            // A document whose volume is away is kept as unavailable, as the load keeps one.
            const bool unavailable =
                resolved.path.empty() && !resolved.missing.empty() && away && away(resolved.missing);
            const std::string& path = unavailable ? resolved.missing : resolved.path;
            if (path.empty()) {
                // An entry is examined once per recording, so this is said once.
                logMessage(LogTopic::Recent,
                           "skipped " + entry.name + ": " +
                               (resolved.skipped.empty() ? std::string("no document") : resolved.skipped));
                continue;
            }
            if (admits && !admits(path, entry))
                continue;
            const DateTime t = dosDateTime(entry.unixTime);
            const int known = history.indexOfPath(path);
            if (known >= 0) {
                change();
                history.touch(known, t);
                if (unavailable)
                    history.setAvailable(history.ItemCount() - 1, false);
                ++result.moved;
            } else if (!isStorablePath(path)) {
                // A name with a line break or a TAB cannot be a line of the data file.
                logMessage(LogTopic::Recent, "not kept (its name holds a line break or a TAB): " + path);
            } else {
                change();
                if (unavailable ? history.addKnown(path, t, true) != nullptr
                                : history.AddItem(path, t) != nullptr)
                    ++result.added;
            }
        }
        imports.adopt(std::move(plan.listing));
        if (plan.listingSize > 0)
            lastScanTime = scanStart;
    }
    if (history.ItemCount() > dataMax)
        change();
    result.dropped = history.trimToMax(dataMax);
    return result;
}

ScanResult scanRecent(HistoryList& history, RecentSource& source, RecentImports& imports,
                      DateTime& lastScanTime, DateTime scanStart, int dataMax,
                      const std::function<void()>& beforeChange) {
    return applyScan(history, source, imports, planScan(source, imports), lastScanTime, scanStart, dataMax,
                     beforeChange);
}

} // namespace vendle
