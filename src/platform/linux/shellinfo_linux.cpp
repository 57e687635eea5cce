// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shellinfo.h"

#include "core/filelimits.h"
#include "glibutil.h"

#include <gio/gio.h>
#include <glib/gstdio.h>

#include <memory>
#include <string_view>

namespace vendle::platform {

namespace {} // namespace

const DesktopShellInfo::TypeInfo& DesktopShellInfo::typeInfo(const std::string& contentType) {
    const auto found = types_.find(contentType);
    if (found != types_.end())
        return found->second;
    TypeInfo info;
    // Unknown data has no useful description: leave it empty so the name-based type applies.
    if (!g_content_type_is_unknown(contentType.c_str())) {
        const GCharPtr description(g_content_type_get_description(contentType.c_str()));
        if (description)
            info.description = description.get();
    }
    const GObjectPtr<GIcon> icon(g_content_type_get_icon(contentType.c_str()));
    info.iconIndex = iconIndexOf(icon.get(), "text-x-generic");
    return types_.emplace(contentType, std::move(info)).first->second;
}

int DesktopShellInfo::iconIndexOf(GIcon* icon, const char* fallback) {
    std::vector<std::string> names;
    if (icon && G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* n = g_themed_icon_get_names(G_THEMED_ICON(icon)); n && *n; ++n)
            names.emplace_back(*n);
    }
    names.emplace_back(fallback);
    // One index per distinct icon, however many content types or folders share it.
    std::string key;
    for (const std::string& n : names)
        key.append(n).push_back('\n');
    const auto [slot, added] = iconIndexByNames_.emplace(key, static_cast<int>(icons_.size()));
    if (added)
        icons_.push_back(std::move(names));
    return slot->second;
}

int DesktopShellInfo::folderIconIndexOf(const std::string& folder) {
    // A folder may have an icon of its own (the desktop, documents, music, ...).
    const auto found = folderIcons_.find(folder);
    if (found != folderIcons_.end())
        return found->second;
    const GObjectPtr<GFile> file(g_file_new_for_path(folder.c_str()));
    const GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_ICON,
                                                       G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    const int index = info ? iconIndexOf(g_file_info_get_icon(info.get()), "folder") : folderIconIndex();
    return folderIcons_.emplace(folder, index).first->second;
}

ShellFileInfo DesktopShellInfo::queryFileInfo(const std::string& path) {
    ShellFileInfo result;
    GStatBuf st;
    if (g_stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        result.isFolder = true;
        result.iconIndex = folderIconIndexOf(path);
        return result;
    }
    return queryKnownFileInfo(path);
}

const NameGlobs& DesktopShellInfo::nameGlobs() {
    if (!globs_) {
        globs_ = std::make_unique<NameGlobs>();
        std::vector<std::string> dirs{g_get_user_data_dir()};
        for (const gchar* const* d = g_get_system_data_dirs(); d && *d; ++d)
            dirs.emplace_back(*d);
        for (const std::string& dir : dirs) {
            if (const std::optional<std::string> text = readWholeFile(dir + "/mime/globs2", kSystemFileLimit))
                globs_->addGlobs2(*text);
        }
    }
    return *globs_;
}

ShellFileInfo DesktopShellInfo::queryKnownFileInfo(const std::string& path) {
    ShellFileInfo result;
    // The type comes from the name alone, as the desktop guesses it without reading the file.
    // Names that share everything from their first dot on share the guess, unless the MIME
    // database knows a pattern for more of the name ("CMakeLists.txt", "README*"): such names
    // are guessed, and kept, one by one.
    const std::size_t slash = path.rfind('/');
    const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    key_.clear();
    if (nameGlobs().wholeNameMatters(name))
        key_.append("/").append(name);
    else
        key_.append(extensionKey(name));
    auto found = guesses_.find(key_);
    if (found == guesses_.end()) {
        const GCharPtr guessed(g_content_type_guess(std::string(name).c_str(), nullptr, 0, nullptr));
        found = guesses_.emplace(key_, &typeInfo(guessed ? guessed.get() : "")).first;
    }
    const TypeInfo& type = *found->second;
    result.sharedTypeName = &type.description;
    result.iconIndex = type.iconIndex;
    return result;
}

int DesktopShellInfo::folderIconIndex() {
    return typeInfo("inode/directory").iconIndex;
}

const std::vector<std::string>& DesktopShellInfo::iconNames(int iconIndex) const {
    static const std::vector<std::string> kNone;
    if (iconIndex < 0 || static_cast<std::size_t>(iconIndex) >= icons_.size())
        return kNone;
    return icons_[static_cast<std::size_t>(iconIndex)];
}

} // namespace vendle::platform
