// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileplaces.h"

#include <cstdint>
#include <cstdio>

namespace vendle {

namespace {

// A short name for a folder: FNV-1a of its path, as hexadecimal.
std::string folderTag(const std::string& folder) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const unsigned char c : folder) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace

FilePlaces chooseFilePlaces(const PlaceInputs& in) {
    FilePlaces places;
    const std::string beside = in.programFolder + "/";
    places.portable = in.exists(beside + "vendle.portable") || in.exists(beside + "vendle.ini") ||
                      in.exists(beside + "vendle.dat");
    if (places.portable) {
        places.iniFile = beside + "vendle.ini";
        places.dataFile = beside + "vendle.dat";
        places.instanceName = "Vendle-" + folderTag(in.programFolder);
    } else {
        const std::string config = in.configHome + "/vendle";
        const std::string data = in.dataHome + "/vendle";
        places.iniFile = config + "/vendle.ini";
        places.dataFile = data + "/vendle.dat";
        places.instanceName = "Vendle";
        places.foldersToMake = {config, data};
    }
    // The help file beside the program (a build or a portable copy), else in the installed data
    // folder next to the program's bin folder.
    const std::string candidates[] = {beside + "vendle.chm", beside + "../share/vendle/vendle.chm"};
    places.helpFile = candidates[0];
    for (const std::string& candidate : candidates) {
        if (in.exists(candidate)) {
            places.helpFile = candidate;
            break;
        }
    }
    return places;
}

} // namespace vendle
