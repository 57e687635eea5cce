// SPDX-License-Identifier: GPL-3.0-or-later
#include "boundedread.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vendle::platform {

namespace {

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

std::optional<std::string> fail(std::string* why, std::string reason) {
    if (why)
        *why = std::move(reason);
    return std::nullopt;
}

} // namespace

std::optional<std::string> readBounded(const std::string& path, std::size_t limit, std::string* why) {
    // Opening a FIFO without a writer would wait for one; non-blocking, it returns at once and the
    // type check below refuses it.
    const Fd file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0)
        return fail(why, std::strerror(errno));
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        return fail(why, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return fail(why, "not a regular file");
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > limit)
        return fail(why,
                    "larger than " + std::to_string(limit) + " bytes (" + std::to_string(st.st_size) + ")");
    // The size is a hint (files of the kernel's own say 0, a file may grow while it is read): the
    // limit is kept on what is actually read.
    std::string text;
    text.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == text.size()) {
            if (text.size() > limit)
                return fail(why, "larger than " + std::to_string(limit) + " bytes");
            text.resize(std::min(limit + 1, std::max<std::size_t>(text.size() * 2, 4096)));
        }
        const ssize_t n = ::read(file.fd, text.data() + used, text.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(why, std::strerror(errno));
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    if (used > limit)
        return fail(why, "larger than " + std::to_string(limit) + " bytes");
    text.resize(used);
    return text;
}

} // namespace vendle::platform
