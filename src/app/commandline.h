// SPDX-License-Identifier: GPL-3.0-or-later
// The command line, read before anything else runs (no toolkit, no display, no files): --help and
// --version answer on the terminal, an option the program does not know is refused.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vendle::app {

struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    std::string message; // what to print: the help, the version, or why the line was refused

    // The process's exit code for an answer that ends it (0, or 2 for a refused line).
    int exitCode() const { return action == Action::Refuse ? 2 : 0; }
};

// Reads the arguments after the program's name. Options the toolkit itself takes (-platform,
// -display, -style, …) are left to it.
CommandLine readCommandLine(int argc, const char* const* argv, const std::array<std::uint16_t, 4>& version);

} // namespace vendle::app
