// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shortcut.h"

#include "core/desktopentry.h"
#include "core/filelimits.h"
#include "core/recentscan.h"
#include "core/shelllink.h"

#include "glibutil.h"
#include "platform/logging.h"

#include <glib/gstdio.h>
#include <iconv.h>

#include <QScopeGuard>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <memory>

namespace vendle::platform {

namespace {

bool pathExists(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0;
}

// A link file's bytes; empty for anything but a regular file of at most `limit` bytes, which is
// checked before anything is read (a huge or endless file costs nothing).
std::string readSmallFile(const std::string& path, std::size_t limit) {
    std::string why;
    std::optional<std::string> bytes = readBounded(path, limit, &why);
    if (!bytes) {
        qCInfo(lcRecent) << "not read as a link:" << path.c_str() << why.c_str();
        return {};
    }
    return std::move(*bytes);
}

bool endsWithNoCase(const std::string& text, const char* suffix) {
    const std::size_t n = std::char_traits<char>::length(suffix);
    return text.size() >= n && g_ascii_strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

} // namespace

std::string decodeWindowsText(std::string_view bytes) {
    if (g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr))
        return std::string(bytes);
    iconv_t cd = iconv_open("UTF-8", "CP932");
    // iconv's own failure value is a pointer made of -1.
    if (cd == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr)
        return {};
    std::string in(bytes);
    std::string out(in.size() * 3 + 4, '\0');
    char* src = in.data();
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
            // An undecodable byte becomes U+FFFD and decoding goes on after it.
            if (dstLeft < 3)
                break;
            *dst++ = '\xEF';
            *dst++ = '\xBF';
            *dst++ = '\xBD';
            dstLeft -= 3;
            ++src;
            --srcLeft;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

std::string windowsPathToLocal(const std::string& windowsPath) {
    if (windowsPath.size() < 3 || !g_ascii_isalpha(windowsPath[0]) || windowsPath[1] != ':' ||
        windowsPath[2] != '\\')
        return {};
    std::string prefix;
    if (const char* env = g_getenv("WINEPREFIX"); env && *env)
        prefix = env;
    else
        prefix = std::string(g_get_home_dir()) + "/.wine";
    const std::string drive =
        prefix + "/dosdevices/" + static_cast<char>(g_ascii_tolower(windowsPath[0])) + ":";
    if (!pathExists(drive))
        return {};
    const GCharPtr linkTarget(g_file_read_link(drive.c_str(), nullptr));
    std::string base = drive;
    if (linkTarget) {
        const GCharPtr dir(g_path_get_dirname(drive.c_str()));
        const GCharPtr resolved(g_canonicalize_filename(linkTarget.get(), dir.get()));
        base = resolved.get();
    }
    std::string rest = windowsPath.substr(2);
    for (char& c : rest) {
        if (c == '\\')
            c = '/';
    }
    return base + rest;
}

std::string existingDocument(const std::string& path) {
    if (path.empty() || path.front() != '/')
        return {};
    // "/a/../b" and "/a/./b" name "/b": one document, one entry.
    const GCharPtr clean(g_canonicalize_filename(path.c_str(), "/"));
    GStatBuf st;
    if (g_stat(clean.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return {}; // gone, a folder, a device or a pipe: no document
    // The kernel's own files look like regular ones.
    constexpr long kProcMagic = 0x9fa0;
    constexpr long kSysfsMagic = 0x62656572;
    struct statfs fs {};
    if (::statfs(clean.get(), &fs) == 0 && (fs.f_type == kProcMagic || fs.f_type == kSysfsMagic))
        return {};
    return clean.get();
}

std::string ResolveShortcut(const std::string& path) {
    GStatBuf st;
    if (g_lstat(path.c_str(), &st) != 0)
        return {};
    if (S_ISLNK(st.st_mode)) {
        // Followed to the end of a chain of links; a loop or a dangling link resolves to nothing.
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real)
            return {};
        const std::string target(real);
        std::free(real);
        return existingDocument(target);
    }
    if (!S_ISREG(st.st_mode))
        return {};
    if (endsWithNoCase(path, ".desktop")) {
        const UriPath target = desktopLinkTarget(readSmallFile(path, kLinkFileLimit), g_get_home_dir());
        if (target.status == UriPath::Status::Undecodable) {
            qCWarning(lcRecent) << "a link whose URL cannot be decoded:" << path.c_str();
            throw ShortcutError(__FILE__, __LINE__, "Resolve Error");
        }
        if (target.status != UriPath::Status::Ok)
            return {};
        return existingDocument(target.path);
    }
    if (endsWithNoCase(path, ".lnk")) {
        const auto link = parseShellLink(readSmallFile(path, kLinkFileLimit));
        if (!link)
            return {};
        const std::string local = windowsPathToLocal(shellLinkTargetPath(*link, decodeWindowsText));
        return existingDocument(local);
    }
    return {};
}

} // namespace vendle::platform
