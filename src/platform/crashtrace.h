// What the program leaves behind when it ends abnormally: the fatal message or the exception that
// was not caught, and a backtrace, on standard error, before the abort goes on as usual.
#pragma once

namespace vendle::platform {

// Installs the handlers once, at the start of main: Qt's fatal messages, an uncaught exception
// (std::terminate) and SIGABRT, SIGSEGV, SIGBUS, SIGFPE and SIGILL.
void installCrashTrace();

} // namespace vendle::platform
