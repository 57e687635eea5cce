#include "platform/autostart.h"

#include "core/desktopentry.h"

#include <glib.h>

#include <memory>

namespace vendle::platform {

std::string startupFolder() {
    const char* config = g_get_user_config_dir();
    if (!config || !*config)
        return {};
    std::unique_ptr<gchar, decltype(&g_free)> path(g_build_filename(config, "autostart", nullptr), g_free);
    return path.get();
}

std::string startupEntryFileName(const std::string& title) {
    return title + ".desktop";
}

bool CreateShortcut(const std::string& target, const std::string& entryPath, const std::string& description,
                    const std::string& workingFolder) {
    std::unique_ptr<gchar, decltype(&g_free)> folder(g_path_get_dirname(entryPath.c_str()), g_free);
    if (g_mkdir_with_parents(folder.get(), 0700) != 0)
        return false;
    DesktopApplicationEntry entry{description, description, target, workingFolder};
    const std::string text = formatDesktopEntry(entry);
    return g_file_set_contents_full(entryPath.c_str(), text.data(), static_cast<gssize>(text.size()),
                                    G_FILE_SET_CONTENTS_CONSISTENT, 0644, nullptr) != 0;
}

} // namespace vendle::platform
