// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminationsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vendle::platform {

namespace {

// The pipe the handler writes to. A signal handler can reach nothing but globals; this is the
// only one, set while a TerminationSignals object lives.
int gSignalFds[2] = {-1, -1};

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onTerminationSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t n = ::write(gSignalFds[0], &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalFds) != 0)
        return;
    ::fcntl(gSignalFds[0], F_SETFL, O_NONBLOCK);
    notifier_ = new QSocketNotifier(gSignalFds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (int s : kSignals)
        ::signal(s, SIG_DFL);
    delete notifier_;
    for (int& fd : gSignalFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::readPipe() {
    unsigned char byte = 0;
    if (::read(gSignalFds[1], &byte, 1) == 1)
        emit terminationRequested(byte);
}

} // namespace vendle::platform
