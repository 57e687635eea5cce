// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's own files are: the settings, history and help files (beside a portable copy,
// in the user's folders otherwise), and the folder of entries started with the session.
#pragma once

#include <string>

namespace vendle::app {

struct AppPaths {
    std::string executable;
    std::string iniFile;
    std::string dataFile;
    std::string helpFile;
    std::string startupFolder;
    std::string dataHome; // where the desktop records recently used documents; empty: the default
    std::string instanceName = "Vendle"; // one running copy per name
    bool portable = true;                // the files are beside the executable
    // A folder the settings or the history go into that cannot be used, and why; empty when both
    // can be written.
    std::string unusableFolder;
    std::string unusableReason;

    // The places for the copy at `executable`: beside it in a folder of its own, else the user's
    // configuration and data folders (made, private, when missing); the platform's startup folder.
    static AppPaths forProgram(const std::string& executable);
};

} // namespace vendle::app
