// SPDX-License-Identifier: GPL-3.0-or-later
// Where a copy of the program keeps its files. A copy in a folder of its own (one that holds a
// "vendle.portable" marker, or already its settings or history) keeps them beside itself; any
// other copy, such as an installed one, keeps them in the user's configuration and data folders.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vendle {

struct FilePlaces {
    bool portable = false;
    std::string iniFile;
    std::string dataFile;
    std::string helpFile;                   // the first help file found, else where it was looked for first
    std::string instanceName;               // one running copy per name: per user, and per portable folder
    std::vector<std::string> foldersToMake; // private folders the files go into (XDG places)
};

struct PlaceInputs {
    std::string programFolder; // the executable's folder, without a separator at its end
    std::string configHome;    // $XDG_CONFIG_HOME or its default
    std::string dataHome;      // $XDG_DATA_HOME or its default
    std::function<bool(const std::string&)> exists;
};

// The places for a copy whose executable lies in `in.programFolder`. Only the files present decide
// (never whether a folder is writable, so a copy run as root in /usr/bin stays an installed copy).
FilePlaces chooseFilePlaces(const PlaceInputs& in);

} // namespace vendle
