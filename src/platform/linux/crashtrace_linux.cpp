// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crashtrace.h"

#include <QString>
#include <QtGlobal>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <execinfo.h>
#include <functional>
#include <unistd.h>

namespace vendle::platform {

namespace {

QtMessageHandler previousHandler = nullptr;
std::function<void()> displayLost; // the last save; run once

// The toolkit's own words just before it ends the process for a lost display.
bool saysTheDisplayIsLost(const QString& message) {
    return message.contains(QLatin1String("X11 connection broke")) ||
           message.contains(QLatin1String("Wayland connection broke"));
}

void writeText(const char* text) {
    const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

// Only async-signal-safe calls: write and backtrace_symbols_fd (backtrace itself is loaded before
// the first signal, see installCrashTrace).
void writeBacktrace() {
    void* frames[64];
    const int count = ::backtrace(frames, 64);
    writeText("Vendle: backtrace:\n");
    ::backtrace_symbols_fd(frames, count, STDERR_FILENO);
}

void onSignal(int signal) {
    const char* name = signal == SIGABRT   ? "SIGABRT"
                       : signal == SIGSEGV ? "SIGSEGV"
                       : signal == SIGBUS  ? "SIGBUS"
                       : signal == SIGFPE  ? "SIGFPE"
                                           : "SIGILL";
    writeText("Vendle: ended by ");
    writeText(name);
    writeText("\n");
    writeBacktrace();
    // The default action (a core dump where enabled) follows.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg && displayLost && saysTheDisplayIsLost(message)) {
        const std::function<void()> save = std::move(displayLost);
        displayLost = nullptr;
        std::fprintf(stderr, "Vendle: the display is gone; saving before the end\n");
        save();
    }
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Vendle: fatal: %s (%s:%d)\n", qPrintable(message),
                     context.file ? context.file : "?", context.line);
        std::fflush(stderr);
    }
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void onTerminate() {
    const std::exception_ptr current = std::current_exception();
    if (current) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "Vendle: uncaught exception: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "Vendle: uncaught exception of an unknown kind\n");
        }
    } else {
        std::fprintf(stderr, "Vendle: terminated\n");
    }
    std::fflush(stderr);
    writeBacktrace();
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
}

} // namespace

void setDisplayLostHandler(std::function<void()> save) {
    displayLost = std::move(save);
}

void installCrashTrace() {
    // The first call loads what backtrace needs, so that a call inside a signal handler allocates
    // nothing.
    void* warm[1];
    ::backtrace(warm, 1);
    previousHandler = qInstallMessageHandler(onMessage);
    std::set_terminate(onTerminate);
    std::signal(SIGABRT, onSignal);
#if !defined(__SANITIZE_ADDRESS__)
    // Under the address sanitizer its own reports of these are the better trace.
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, onSignal);
#endif
}

} // namespace vendle::platform
