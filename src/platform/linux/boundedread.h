// SPDX-License-Identifier: GPL-3.0-or-later
// The one way outside files are read: never blocking (a FIFO or a device in a file's place is
// refused, not waited on), regular files only, and never more than a stated number of bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vendle::platform {

// The whole file when it is a regular file of at most `limit` bytes; nullopt otherwise, with the
// reason (in words) in `why` when given. Follows symbolic links to what they name.
std::optional<std::string> readBounded(const std::string& path, std::size_t limit,
                                       std::string* why = nullptr);

} // namespace vendle::platform
