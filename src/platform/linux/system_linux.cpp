// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system.h"

#include "glibutil.h"

#include "core/paths.h"

#include <cerrno>
#include <cstdlib>
#include <glib.h>
#include <glib/gstdio.h>
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

} // namespace vendle::platform
