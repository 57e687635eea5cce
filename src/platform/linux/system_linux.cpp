// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system.h"

#include "glibutil.h"

#include "core/paths.h"
#include "platform/logging.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <glib.h>
#include <glib/gstdio.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace vendle::platform {

CodePage systemCodePage() {
    const char* charset = nullptr;
    if (g_get_charset(&charset))
        return CodePage::utf8();
    return CodePage::fromCodesetName(charset ? charset : "");
}

std::string SystemErrorText(int code) {
    // g_strerror gives the message in the user's language, converted to UTF-8, and a fixed text
    // for codes the C library does not know.
    const char* text = g_strerror(code);
    return text ? text : "";
}

std::string executablePath() {
    const GCharPtr target(g_file_read_link("/proc/self/exe", nullptr));
    return target ? std::string(target.get()) : std::string();
}

std::string userConfigFolder() {
    return g_get_user_config_dir();
}

std::string userDataFolder() {
    return g_get_user_data_dir();
}

bool pathExists(const std::string& path) {
    return g_file_test(path.c_str(), G_FILE_TEST_EXISTS);
}

bool makePrivateFolder(const std::string& path) {
    return g_mkdir_with_parents(path.c_str(), 0700) == 0;
}

std::string folderProblem(const std::string& path) {
    if (g_mkdir_with_parents(path.c_str(), 0700) != 0)
        return SystemErrorText(errno);
    GStatBuf st;
    if (g_stat(path.c_str(), &st) != 0)
        return SystemErrorText(errno);
    if (!S_ISDIR(st.st_mode))
        return SystemErrorText(ENOTDIR);
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        return SystemErrorText(errno);
    return {};
}

std::string companionFilePath(const std::string& executable, const std::string& extension) {
    const PathSyntax syntax = PathSyntax::posix(systemCodePage());
    const std::string_view ext = extensionOf(executable, syntax);
    return executable.substr(0, executable.size() - ext.size()) + extension;
}

UiLanguage uiLanguage() {
    const auto get = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return chooseUiLanguage(
        {get("VENDLE_LANG"), get("LANGUAGE"), get("LC_ALL"), get("LC_MESSAGES"), get("LANG")});
}

std::vector<std::string> dropRelativeBaseDirectories() {
    std::vector<std::string> dropped;
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const char* value = std::getenv(name);
        if (value && *value && value[0] != '/') {
            ::unsetenv(name);
            dropped.emplace_back(name);
        }
    }
    return dropped;
}

void prepareMemoryFor(std::size_t bytes) {
#if defined(__GLIBC__)
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    bytes = std::min<std::size_t>(bytes, std::size_t{512} << 20);
    if (bytes < 4 * kHuge)
        return;
    // Blocks below this size come from the heap (not from mappings of their own), and the heap keeps
    // up to this much free at its top instead of handing it back: the region marked below stays the
    // heap's.
    ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(bytes + kHuge));
    ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * bytes + kHuge));
    void* block = std::malloc(bytes);
    if (!block)
        return;
    // The whole huge pages inside the block.
    char* const start = static_cast<char*>(block);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(start);
    char* const from = start + (kHuge - address % kHuge) % kHuge;
    char* const to = start + bytes - (address + bytes) % kHuge;
    if (to > from && ::madvise(from, static_cast<std::size_t>(to - from), MADV_HUGEPAGE) != 0)
        qCDebug(lcFiles) << "no huge pages for the history:" << std::strerror(errno);
    std::free(block); // untouched: it costs nothing until used
#else
    (void)bytes;
#endif
}

void settleTimeZone() {
    if (!g_getenv("TZ"))
        g_setenv("TZ", ":/etc/localtime", FALSE);
}

} // namespace vendle::platform
