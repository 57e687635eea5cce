// SPDX-License-Identifier: GPL-3.0-or-later
// Putting files back from the desktop's trash to where they were, by the trash's own record of
// each file's original place; never over a file that stands there now.
#pragma once

#include <string>
#include <vector>

namespace vendle::platform {

struct RestoreResult {
    std::vector<std::string> restored; // the paths that are back
    std::string reason;                // why the others are not, a line each, in the user's language
};

// Moves each path's most recently trashed file back to the path.
RestoreResult restoreFromTrash(const std::vector<std::string>& paths);

} // namespace vendle::platform
