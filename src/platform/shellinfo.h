// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's knowledge about documents: whether a path is a folder, its type's name in the
// user's language and its icon, cached per content type.
#pragma once

#include "core/history.h"
#include "core/mimeglobs.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct _GIcon; // NOLINT(bugprone-reserved-identifier): GLib's own name for GIcon

namespace vendle::platform {

class DesktopShellInfo final : public ShellQuery {
public:
    // Folder flag, type description and icon index of a path. A path the system cannot examine is
    // typed by its name alone.
    ShellFileInfo queryFileInfo(const std::string& path) override;
    ShellFileInfo queryKnownFileInfo(const std::string& path) override;

    // Theme icon names for an icon index, best first; empty for an unknown index.
    const std::vector<std::string>& iconNames(int iconIndex) const;

    // The icon index of a folder, for the folder menu.
    int folderIconIndex();

private:
    struct TypeInfo {
        std::string description;
        int iconIndex = 0;
    };
    const TypeInfo& typeInfo(const std::string& contentType);
    const NameGlobs& nameGlobs();
    int iconIndexOf(::_GIcon* icon, const char* fallback);
    int folderIconIndexOf(const std::string& folder);

    std::unordered_map<std::string, TypeInfo> types_;
    std::vector<std::vector<std::string>> icons_;
    std::unordered_map<std::string, int> iconIndexByNames_;
    // Extension key, or "/" and the whole name, -> the guessed content type's entry of types_
    // (whose nodes stay where they are).
    std::unordered_map<std::string, const TypeInfo*> guesses_;
    std::string key_; // the key of the last name looked up, kept for its buffer
    std::unique_ptr<NameGlobs> globs_;
    std::unordered_map<std::string, int> folderIcons_; // folder path -> its icon index
};

} // namespace vendle::platform
