// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a document or folder with the desktop's default application for it, and noting a path as
// recently used the way desktop applications do, so that the watched record of recent documents
// takes it in.
#pragma once

#include <string>

namespace vendle::platform {

struct OpenResult {
    bool ok = false;
    std::string reason; // the system's text for the failure, in the user's language
};

// Starts the default application for the path's type with the path. Fails honestly: a missing
// path, a type with no application and a program that cannot be started are failures.
OpenResult openWithDefaultApplication(const std::string& path);

// True when the path names a file the user may read but not write.
bool isReadOnlyFile(const std::string& path);

// Adds or updates the path's bookmark in the desktop's recently-used file under `dataHome` (empty:
// the user's data folder): its type, this program as the application with its count, and the
// time of use now. The file is replaced atomically. False when it cannot be written.
bool noteRecentlyUsed(const std::string& path, const std::string& dataHome = {});

} // namespace vendle::platform
