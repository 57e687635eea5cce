// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the program with the user's session: the autostart folder and the entry that points at
// the program.
#pragma once

#include <string>

namespace vendle::platform {

// The folder whose entries the desktop starts at log-in; empty when it cannot be told.
std::string startupFolder();

// The entry's file name for a program title ("Vendle" gives "Vendle.desktop").
std::string startupEntryFileName(const std::string& title);

// Writes an entry at `entryPath` that starts `target` in `workingFolder`, named and described by
// `description`. Creates the folder when missing. False on any failure.
bool CreateShortcut(const std::string& target, const std::string& entryPath, const std::string& description,
                    const std::string& workingFolder);

// Removes the entry at `entryPath`; true when it is gone.
bool removeStartupEntry(const std::string& entryPath);

} // namespace vendle::platform
