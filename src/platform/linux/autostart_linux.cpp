// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/autostart.h"

#include "core/desktopentry.h"

#include "glibutil.h"
#include "safewrite.h"

#include <glib/gstdio.h>

#include "platform/logging.h"
#include <cerrno>

namespace vendle::platform {

std::string startupFolder() {
    const char* config = g_get_user_config_dir();
    if (!config || !*config)
        return {};
    const GCharPtr path(g_build_filename(config, "autostart", nullptr));
    return path.get();
}

std::string startupEntryFileName(const std::string& title) {
    return title + ".desktop";
}

bool CreateShortcut(const std::string& target, const std::string& entryPath, const std::string& description,
                    const std::string& workingFolder) {
    const GCharPtr folder(g_path_get_dirname(entryPath.c_str()));
    if (g_mkdir_with_parents(folder.get(), 0700) != 0) {
        qCWarning(lcFiles) << "cannot create" << folder.get() << g_strerror(errno);
        return false;
    }
    DesktopApplicationEntry entry{description, description, target, workingFolder};
    const std::string text = formatDesktopEntry(entry);
    if (const std::optional<std::string> failure = replaceFile(entryPath, text, 0644)) {
        qCWarning(lcFiles) << "cannot write the autostart entry:" << failure->c_str();
        return false;
    }
    return true;
}

bool removeStartupEntry(const std::string& entryPath) {
    if (g_remove(entryPath.c_str()) == 0 || errno == ENOENT)
        return true;
    qCWarning(lcFiles) << "cannot remove the autostart entry:" << g_strerror(errno);
    return false;
}

} // namespace vendle::platform
