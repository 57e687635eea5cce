// SPDX-License-Identifier: GPL-3.0-or-later
// The first check of a compiled help file (CHM) before its reader is let at it: the file and
// directory headers must be there, and the sizes they declare must fit the file, so that a damaged
// or hostile file cannot make the reader allocate gigabytes.
#pragma once

#include <string_view>

namespace vendle {

// True when `file` (the whole file) starts with a plausible "ITSF" header whose "ITSP" directory
// header lies inside the file and declares a directory block of at most 1 MiB.
bool plausibleChmHeader(std::string_view file);

} // namespace vendle
