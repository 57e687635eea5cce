// SPDX-License-Identifier: GPL-3.0-or-later
// The command line, read before anything else runs (no toolkit, no display, no files): --help and
// --version answer on the terminal, --list and --add ask the running copy (no window), an option
// the program does not know is refused.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vendle::app {

struct CommandLine {
    enum class Action { Run, Help, Version, Refuse, List, Add };
    Action action = Action::Run;
    std::string message; // what to print: the help, the version, or why the line was refused

    // --list: the words every listed path holds, and how to print and filter; --add: the files.
    std::vector<std::string> words;
    enum class Form { Paths, Long, Json } form = Form::Paths;
    bool nulSeparated = false;
    int days = 0;       // --days N: used in the last N days (today counts as one); 0: any time
    std::string type;   // --type EXT: the extension, without the dot
    std::string folder; // --folder DIR: documents right in that folder

    // The process's exit code for an answer that ends it (0, or 2 for a refused line).
    int exitCode() const { return action == Action::Refuse ? 2 : 0; }
};

// Reads the arguments after the program's name. Options the toolkit itself takes (-platform,
// -display, -style, …) are left to it.
CommandLine readCommandLine(int argc, const char* const* argv, const std::array<std::uint16_t, 4>& version);

} // namespace vendle::app
