// SPDX-License-Identifier: GPL-3.0-or-later
// The entry that starts this copy of the program with the desktop session: whether one exists and
// whom it starts, writing it for this copy and taking it away.
#pragma once

#include "app/apppaths.h"
#include "core/fileaccess.h"

#include <string>

namespace vendle::app {

class StartupEntry {
public:
    StartupEntry(const AppPaths& paths, FileAccess& files);

    enum class State {
        Missing,      // no entry
        ThisProgram,  // an entry that starts this copy
        OtherProgram, // an entry that starts another copy, a program gone, or nothing readable
    };
    State state() const;
    // The program the existing entry starts; empty when there is none or it cannot be read.
    std::string registeredProgram() const;

    // Writes the entry for this copy, over any other. False when it could not be written (or the
    // desktop has no startup folder).
    bool write() const;
    // Takes this copy's entry away; an entry of another copy is left alone. False on failure.
    bool remove() const;

    std::string path() const;

private:
    const AppPaths& paths_;
    FileAccess& files_;
};

} // namespace vendle::app
