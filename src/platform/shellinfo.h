// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's knowledge about documents: whether a path is a folder, its type's name in the
// user's language and its icon, cached per content type.
#pragma once

#include "core/history.h"
#include "core/mimeglobs.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct _GIcon; // NOLINT(bugprone-reserved-identifier): GLib's own name for GIcon

namespace vendle::platform {

class DesktopShellInfo final : public ShellQuery {
public:
    // Folder flag, type description and icon index of a path. A path the system cannot examine is
    // typed by its name alone.
    ShellFileInfo queryFileInfo(const std::string& path) override;
    ShellFileInfo queryKnownFileInfo(std::string_view path) override;

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
    const TypeInfo& guess(std::string_view name);
    const NameGlobs& nameGlobs();
    int iconIndexOf(::_GIcon* icon, const char* fallback);
    int folderIconIndexOf(const std::string& folder);

    std::unordered_map<std::string, TypeInfo> types_;
    std::vector<std::vector<std::string>> icons_;
    std::unordered_map<std::string, int> iconIndexByNames_;
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Extension key -> the guessed content type's entry of types_ (whose nodes stay where they
    // are), or nullptr when a pattern makes every such name a guess of its own.
    std::unordered_map<std::string, const TypeInfo*, TextHash, std::equal_to<>> keyGuesses_;
    // The keys looked up last, by a quick hash of their bytes, in front of keyGuesses_: a load
    // types its documents by the hundred thousand with a few dozen keys.
    struct RecentKey {
        std::array<std::uint64_t, 2>
            bytes{}; // the key's bytes, zeros before; keys of 16 or more are not kept
        const TypeInfo* type = nullptr;
    };
    std::array<RecentKey, 256> recentKeys_{};
    // "/" and a whole name -> its guess.
    std::unordered_map<std::string, const TypeInfo*> nameGuesses_;
    std::string key_; // the key of the last name looked up, kept for its buffer
    std::unique_ptr<NameGlobs> globs_;
    std::unordered_map<std::string, int> folderIcons_; // folder path -> its icon index
};

} // namespace vendle::platform
