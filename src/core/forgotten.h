// SPDX-License-Identifier: GPL-3.0-or-later
// Documents the user took out of the history. The desktop's records of their earlier uses are
// passed over; a use it records after they were forgotten brings them back. Kept in the settings
// file, at most kMostForgotten of them (the longest forgotten go first).
#pragma once

#include "mainsettings.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vendle {

class MemIniFile;

class ForgottenDocuments {
public:
    static constexpr std::size_t kMostForgotten = 1000;

    // `path` was taken out of the history at `unixSeconds`.
    void forget(const std::string& path, std::int64_t unixSeconds);
    // Whether a use of `path` recorded at `usedAt` (Unix seconds) may enter the history: any path
    // not forgotten, and a forgotten one used after it was forgotten (which ends its forgetting).
    bool admits(const std::string& path, std::int64_t usedAt);

    // `path` is no longer forgotten (the forgetting was undone).
    void remember(const std::string& path) { byPath_.erase(path); }

    std::size_t size() const { return byPath_.size(); }

    void read(const MemIniFile& ini);
    void write(MemIniFile& ini) const;

private:
    struct Entry {
        std::int64_t when = 0;   // Unix seconds
        std::uint64_t order = 0; // the order of forgetting, for documents forgotten in the same second
    };
    void add(const std::string& path, std::int64_t unixSeconds);
    std::map<std::string, Entry> byPath_;
    std::uint64_t next_ = 0;
};

} // namespace vendle
