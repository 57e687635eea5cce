// SPDX-License-Identifier: GPL-3.0-or-later
// Folders whose documents the history never records, and whether documents with a hidden name
// on their path (a file or folder whose name starts with ".") are left out too. Kept in a section
// of its own in the settings file, written only when something is excluded.
#pragma once

#include "mainsettings.h"
#include <cstddef>

#include <string>
#include <string_view>
#include <vector>

namespace vendle {

class MemIniFile;

struct Exclusions {
    // The most folders kept: more are neither read nor written.
    static constexpr std::size_t kMostFolders = 1000;
    static_assert(kMostFolders == 1000, "the settings table's row holds the same bound");

    std::vector<std::string> folders; // absolute paths
    bool hidden = false;

    // Whether the document at `path` (absolute) is not to be recorded. A folder is compared in its
    // plain form: "/a/../a/sub/" is "/a/sub".
    bool excludes(std::string_view path) const;

    bool operator==(const Exclusions&) const = default;

    void read(const MemIniFile& ini);
    void write(MemIniFile& ini) const;
};

} // namespace vendle
