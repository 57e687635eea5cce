// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the desktop's bookmark file of recently used documents ("recently-used.xbel"): the URI of
// every bookmark and the latest of the times the file records for it, telling an absent time
// attribute from a present one.
#pragma once

#include "core/recentscan.h"

#include <string_view>
#include <vector>

namespace vendle::platform {

// Appends one entry per top-level bookmark with an href: its URI and the latest of its "added",
// "modified" and "visited" times (time 0 when none is present and readable). A file damaged
// after some bookmarks gives those, with the damage in `why`; false, with nothing appended, when
// the text is no bookmark file or holds no bookmark before its damage (`why` says why).
// Parsing stops, with false, once `cancelled` is set.
bool readXbelEntries(std::string_view text, std::vector<RecentEntry>& entries, std::string* why = nullptr,
                     const std::atomic<bool>* cancelled = nullptr);

} // namespace vendle::platform
