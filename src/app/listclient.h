// SPDX-License-Identifier: GPL-3.0-or-later
// `vendle --list` and `vendle --add`, without a window: the running copy answers over the session
// bus (never started for it); without one, --list reads the history file as it is, changing
// nothing, and --add says that no copy runs.
#pragma once

#include "app/commandline.h"

namespace vendle::app {

// Exit codes beyond the usual: --add without a running copy.
inline constexpr int kNoRunningCopy = 3;

// Runs the --list or --add line and returns the process's exit code.
int runListOrAdd(const CommandLine& line, int argc, char** argv);

} // namespace vendle::app
