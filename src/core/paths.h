// SPDX-License-Identifier: GPL-3.0-or-later
// Path syntax as a parameter: POSIX paths ("/" only) or Windows paths ("\" and ":", drive letters),
// both walked character by character in their code page. File name, directory part, folder name
// and extension of a path.
#pragma once

#include "codepage.h"

#include <string>
#include <string_view>

namespace vendle {

struct PathSyntax {
    enum class Kind { Posix, Windows };

    Kind kind = Kind::Posix;
    CodePage codePage;

    static constexpr PathSyntax posix(CodePage cp = CodePage::utf8()) { return {Kind::Posix, cp}; }
    static constexpr PathSyntax windows(CodePage cp = CodePage::cp932()) { return {Kind::Windows, cp}; }

    bool isDelimiter(char c) const { return c == '/' || (kind == Kind::Windows && (c == '\\' || c == ':')); }
    char separator() const { return kind == Kind::Windows ? '\\' : '/'; }
};

// Byte offset of the last delimiter that is a character of its own, or npos.
std::size_t lastDelimiter(std::string_view path, const PathSyntax& syntax);

// Text after the last delimiter.
std::string_view fileNameOf(std::string_view path, const PathSyntax& syntax);

// Everything up to and including the last delimiter; empty when there is none.
std::string_view directoryOf(std::string_view path, const PathSyntax& syntax);

// The name of the folder that directly holds the path; empty for a file in a root.
std::string_view FolderName(std::string_view path, const PathSyntax& syntax);

// The extension with its dot, from the last "." after the last delimiter; empty when there is none.
std::string_view extensionOf(std::string_view path, const PathSyntax& syntax);

} // namespace vendle
