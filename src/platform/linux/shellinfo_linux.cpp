// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shellinfo.h"

#include "core/filelimits.h"
#include "glibutil.h"

#include <gio/gio.h>
#include <glib/gstdio.h>

#include <bit>
#include <cstdint>
#include <cstring>
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

ShellFileInfo DesktopShellInfo::queryKnownFileInfo(std::string_view path) {
    // The type comes from the name alone, as the desktop guesses it without reading the file.
    // Names that share everything from their first dot on share the guess, unless the MIME
    // database knows a pattern for more of the name ("CMakeLists.txt", "README*", "*~"): such
    // names are guessed, and kept, one by one.
    const void* slash = path.empty() ? nullptr : ::memrchr(path.data(), '/', path.size());
    const std::string_view name =
        slash ? path.substr(static_cast<std::size_t>(static_cast<const char*>(slash) - path.data()) + 1)
              : path;
    const NameGlobs& globs = nameGlobs();
    const TypeInfo* type = nullptr;
    if (!globs.nameMayMatter(name)) {
        const std::string_view key = extensionKey(name);
        RecentKey* recent = nullptr;
        std::array<std::uint64_t, 2> bytes{};
        if (!key.empty() && key.size() < 16 && path.size() >= 16 &&
            std::endian::native == std::endian::little) {
            // The key ends the path: the path's last sixteen bytes, those before the key cleared.
            std::memcpy(bytes.data(), path.data() + path.size() - 16, 16);
            const std::size_t before = 16 - key.size();
            if (before >= 8) {
                bytes[0] = 0;
                bytes[1] &= ~std::uint64_t{0} << ((before - 8) * 8);
            } else {
                bytes[0] &= ~std::uint64_t{0} << (before * 8);
            }
            const std::uint64_t hash =
                (bytes[0] * 0x9E3779B97F4A7C15ULL) ^ (bytes[1] * 0xC2B2AE3D27D4EB4FULL);
            recent = &recentKeys_[hash >> 56];
        }
        if (recent && recent->type && recent->bytes == bytes) {
            type = recent->type;
        } else {
            auto found = keyGuesses_.find(key);
            if (found == keyGuesses_.end())
                found = keyGuesses_.emplace(std::string(key), globs.keyMatters(key) ? nullptr : &guess(name))
                            .first;
            type = found->second;
            if (recent && type)
                *recent = {bytes, type};
        }
    }
    if (!type) {
        key_.assign("/").append(name);
        auto found = nameGuesses_.find(key_);
        if (found == nameGuesses_.end())
            found = nameGuesses_.emplace(key_, &guess(name)).first;
        type = found->second;
    }
    ShellFileInfo result;
    result.sharedTypeName = &type->description;
    result.iconIndex = type->iconIndex;
    return result;
}

const DesktopShellInfo::TypeInfo& DesktopShellInfo::guess(std::string_view name) {
    const GCharPtr guessed(g_content_type_guess(std::string(name).c_str(), nullptr, 0, nullptr));
    return typeInfo(guessed ? guessed.get() : "");
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
