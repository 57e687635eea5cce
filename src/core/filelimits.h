// SPDX-License-Identifier: GPL-3.0-or-later
// The largest outside file of each kind that the program reads. A file beyond its limit is not
// read at all (and never replaced), so that a damaged or hostile file cannot flood memory.
#pragma once

#include <cstddef>

namespace vendle {

inline constexpr std::size_t kDataFileLimit = std::size_t{256} << 20;    // vendle.dat
inline constexpr std::size_t kSettingsFileLimit = std::size_t{4} << 20;  // vendle.ini
inline constexpr std::size_t kBookmarkFileLimit = std::size_t{64} << 20; // recently-used.xbel
inline constexpr std::size_t kLinkFileLimit = std::size_t{1} << 20;      // a desktop link or shell link
inline constexpr std::size_t kHelpFileLimit = std::size_t{64} << 20;     // vendle.chm
inline constexpr std::size_t kSystemFileLimit = std::size_t{16} << 20;   // MIME globs, the mount table

} // namespace vendle
