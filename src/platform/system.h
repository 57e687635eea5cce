// SPDX-License-Identifier: GPL-3.0-or-later
// Facts about the running system that the core needs but must not look up itself: the code page of
// byte strings, the text of a system error code, and where the program's own file is.
#pragma once

#include "core/codepage.h"
#include "core/uilanguage.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vendle::platform {

// The code page of the user's locale (its codeset).
CodePage systemCodePage();

// The system's message for an error code (errno on Linux) in the user's language; empty when the
// system has none.
std::string SystemErrorText(int code);

// Absolute path of the running executable; empty when it cannot be told.
std::string executablePath();

// Drops base-directory variables ($XDG_CONFIG_HOME, $XDG_DATA_HOME, ...) that hold a relative
// path: the base-directory rules call such values invalid, so the defaults apply, whatever folder
// the program was started from. Call it first, before anything reads them. Returns the names
// dropped.
std::vector<std::string> dropRelativeBaseDirectories();

// The language of the program's texts, from the environment (VENDLE_LANG, then the locale of
// messages and the desktop's list of languages).
UiLanguage uiLanguage();

// The user's folders for configuration and for data ($XDG_CONFIG_HOME, $XDG_DATA_HOME or their
// defaults).
std::string userConfigFolder();
std::string userDataFolder();

// Whether anything exists at `path`.
bool pathExists(const std::string& path);

// Makes `path` and its missing parents, new folders readable by the user only. False on failure.
bool makePrivateFolder(const std::string& path);

// Why files cannot be written into the folder `path` (it cannot be made, is no folder, or may not
// be written), in the user's language; empty when they can.
std::string folderProblem(const std::string& path);

// Readies the process's memory for about `bytes` of small blocks made in a burst (the history's
// records at the start): on Linux with glibc the heap grows once by that much, keeps what is freed,
// and asks for transparent huge pages there, so that the records' first touch faults in 2 MB steps
// instead of 4 KB ones (on a virtual machine each fault is costly). Elsewhere it does nothing.
void prepareMemoryFor(std::size_t bytes);

// Reads the time zone once for the rest of a short run (the command line's listing): on Linux, TZ
// is set to the system's zone file when it is unset, so that converting 100,000 times does not
// look at that file each time. Call it before other threads start.
void settleTimeZone();

// The executable's path with its extension replaced by `extension` (".ini", ".dat", ...); a path
// without an extension gets it appended.
std::string companionFilePath(const std::string& executable, const std::string& extension);

} // namespace vendle::platform
