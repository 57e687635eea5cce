// SPDX-License-Identifier: GPL-3.0-or-later
#include "paths.h"

#include <cstring>

namespace vendle {

std::size_t lastDelimiter(std::string_view path, const PathSyntax& syntax) {
    // No ASCII byte occurs inside a UTF-8 character, so a plain search from the end is exact there.
    if (syntax.codePage.kind() == CodePage::Kind::Utf8) {
        if (syntax.kind == PathSyntax::Kind::Posix) {
#if defined(__GLIBC__)
            // The C library's search from the end reads many bytes at a time; the filter asks this
            // of every entry.
            const void* slash = path.empty() ? nullptr : ::memrchr(path.data(), '/', path.size());
            return slash ? static_cast<std::size_t>(static_cast<const char*>(slash) - path.data())
                         : std::string_view::npos;
#else
            return path.rfind('/');
#endif
        }
        for (std::size_t i = path.size(); i-- > 0;) {
            if (syntax.isDelimiter(path[i]))
                return i;
        }
        return std::string_view::npos;
    }
    std::size_t last = std::string_view::npos;
    std::size_t i = 0;
    while (i < path.size()) {
        const std::size_t len = syntax.codePage.charLength(path, i);
        if (len == 1 && syntax.isDelimiter(path[i]))
            last = i;
        i += len;
    }
    return last;
}

std::string_view fileNameOf(std::string_view path, const PathSyntax& syntax) {
    const std::size_t d = lastDelimiter(path, syntax);
    return d == std::string_view::npos ? path : path.substr(d + 1);
}

std::string_view directoryOf(std::string_view path, const PathSyntax& syntax) {
    const std::size_t d = lastDelimiter(path, syntax);
    return d == std::string_view::npos ? std::string_view() : path.substr(0, d + 1);
}

std::string_view FolderName(std::string_view path, const PathSyntax& syntax) {
    std::string_view dir = directoryOf(path, syntax);
    if (dir.empty())
        return {};
    dir.remove_suffix(1);
    return fileNameOf(dir, syntax);
}

std::string_view extensionOf(std::string_view path, const PathSyntax& syntax) {
    const std::string_view name = fileNameOf(path, syntax);
    std::size_t dot = std::string_view::npos;
    std::size_t i = 0;
    while (i < name.size()) {
        const std::size_t len = syntax.codePage.charLength(name, i);
        if (len == 1 && name[i] == '.')
            dot = i;
        i += len;
    }
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

} // namespace vendle
