#include "exclusions.h"

#include "inifile.h"

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
        if (!folder.empty() && inside(path, folder))
            return true;
    }
    return false;
}

void Exclusions::read(const MemIniFile& ini) {
    folders.clear();
    for (int n = 1;; ++n) {
        std::string folder = ini.ReadString(kSection, "Folder" + std::to_string(n), "");
        if (folder.empty())
            break;
        folders.push_back(std::move(folder));
    }
    hidden = ini.ReadBool(kSection, "Hidden", false);
}

void Exclusions::write(MemIniFile& ini) const {
    ini.EraseSection(kSection);
    if (folders.empty() && !hidden)
        return;
    int n = 0;
    for (const std::string& folder : folders)
        ini.WriteString(kSection, "Folder" + std::to_string(++n), folder);
    ini.WriteBool(kSection, "Hidden", hidden);
}

} // namespace vendle
