// SPDX-License-Identifier: GPL-3.0-or-later
// A history session on fakes for the app tests: files in memory, a listing the test writes, a
// shell that types names by their extension and a clock the test sets.
#pragma once

#include "app/historysession.h"
#include "core/fakefiles.h"
#include "platform/collation.h"

#include <memory>

namespace vendle::test {

class FakeShell final : public ShellQuery {
public:
    ShellFileInfo queryFileInfo(const std::string& path) override {
        if (path.find('.') == std::string::npos) // the fake's folders have no dots
            return {true, "", 3};
        const bool text = path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0;
        return {false, text ? "Text" : "Image", text ? 1 : 2};
    }
};

class FakeRecent final : public RecentSource {
public:
    std::vector<RecentEntry> entries;
    std::vector<std::string> locations() const override { return {"/data"}; }
    bool list(std::vector<RecentEntry>& out) override {
        out = entries;
        return true;
    }
    ResolvedEntry resolve(const RecentEntry& entry) override { return entry.name; }
};

// The session's parts; `files` and `recent` stay reachable through the pointers for the test.
inline app::HistorySession::Parts fakeParts(FakeFiles*& files, FakeRecent*& recent, TIniFileEx::Clock clock,
                                            const FakeFiles* disk = nullptr) {
    app::HistorySession::Parts parts;
    auto f = std::make_unique<FakeFiles>();
    if (disk)
        *f = *disk; // the same disk as an earlier run
    auto r = std::make_unique<FakeRecent>();
    files = f.get();
    recent = r.get();
    parts.files = std::move(f);
    parts.shell = std::make_unique<FakeShell>();
    parts.recent = std::move(r);
    parts.collator = std::make_unique<ByteCollator>();
    parts.folder = platform::kanaWidthFolder();
    parts.clock = std::move(clock);
    return parts;
}

} // namespace vendle::test
