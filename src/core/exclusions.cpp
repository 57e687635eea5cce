// SPDX-License-Identifier: GPL-3.0-or-later
#include "exclusions.h"

#include "settings.h"

namespace vendle {

namespace {

// Whether `path` lies inside `folder` (a trailing separator on the folder is allowed).
bool inside(std::string_view path, std::string_view folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.remove_suffix(1);
    if (folder == "/")
        return path.size() > 1 && path.front() == '/';
    return path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
           path[folder.size()] == '/';
}

// `folder` without ".", "..", doubled separators and a separator at its end, read as the text it
// is (no links followed).
std::string plainFolder(std::string_view folder) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= folder.size()) {
        std::size_t end = folder.find('/', start);
        if (end == std::string_view::npos)
            end = folder.size();
        const std::string_view part = folder.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string plain;
    for (const std::string_view part : parts)
        plain.append("/").append(part);
    return plain.empty() ? std::string("/") : plain;
}

// Whether a folder needs plainFolder before it is compared.
bool needsPlainForm(std::string_view folder) {
    return folder.find("/.") != std::string_view::npos || folder.find("//") != std::string_view::npos;
}

bool hasHiddenName(std::string_view path) {
    for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
         slash = path.find('/', slash + 1)) {
        if (slash + 1 < path.size() && path[slash + 1] == '.')
            return true;
    }
    return false;
}

} // namespace

bool Exclusions::excludes(std::string_view path) const {
    if (hidden && hasHiddenName(path))
        return true;
    for (const std::string& folder : folders) {
        if (folder.empty())
            continue;
        if (needsPlainForm(folder) ? inside(path, plainFolder(folder)) : inside(path, folder))
            return true;
    }
    return false;
}

void Exclusions::read(const MemIniFile& ini) {
    folders = readList(ini, Setting::ExcludedFolders);
    hidden = readBool(ini, Setting::ExcludeHidden);
}

// The folders, then whether hidden files are left out; nothing while nothing is excluded.
void Exclusions::write(MemIniFile& ini) const {
    removeSetting(ini, Setting::ExcludeHidden);
    writeList(ini, Setting::ExcludedFolders, folders);
    if (!folders.empty() || hidden)
        writeBool(ini, Setting::ExcludeHidden, hidden);
}

} // namespace vendle
