// SPDX-License-Identifier: GPL-3.0-or-later
// Windows shell-link (.lnk) files: a bounds-checked reader of the fields that locate the target
// (link info, string data, environment block) and a writer of simple links.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vendle {

namespace LinkFlag {
inline constexpr std::uint32_t HasLinkTargetIDList = 0x1;
inline constexpr std::uint32_t HasLinkInfo = 0x2;
inline constexpr std::uint32_t HasName = 0x4;
inline constexpr std::uint32_t HasRelativePath = 0x8;
inline constexpr std::uint32_t HasWorkingDir = 0x10;
inline constexpr std::uint32_t HasArguments = 0x20;
inline constexpr std::uint32_t HasIconLocation = 0x40;
inline constexpr std::uint32_t IsUnicode = 0x80;
inline constexpr std::uint32_t ForceNoLinkInfo = 0x100;
inline constexpr std::uint32_t HasExpString = 0x200;
} // namespace LinkFlag

// A text from a link: either UTF-16 or bytes in the code page of the system that wrote it.
struct LinkText {
    bool present = false;
    bool unicode = false;
    std::u16string wide;
    std::string narrow;
};

struct ShellLinkInfo {
    std::uint32_t flags = 0;
    LinkText localBasePath;
    LinkText commonPathSuffix;
    LinkText netName;
    LinkText name;
    LinkText relativePath;
    LinkText workingDir;
    LinkText arguments;
    LinkText iconLocation;
    LinkText environmentTarget; // from the environment-variable block, with %VARIABLES%
};

// Parses a link; nullopt for anything that is not a well-formed link (wrong header, an offset or
// size outside the file). Never reads outside `bytes`.
std::optional<ShellLinkInfo> parseShellLink(std::string_view bytes);

// Converts text bytes of the writing system's code page to UTF-8.
using NarrowDecoder = std::string (*)(std::string_view);

// UTF-8 form of a link text; narrow texts go through `decode` (nullptr: taken as they are).
std::string linkTextUtf8(const LinkText& text, NarrowDecoder decode = nullptr);

// The target's Windows path in UTF-8: local base path plus common suffix, or the network share
// plus suffix; empty when the link names no file-system path.
std::string shellLinkTargetPath(const ShellLinkInfo& link, NarrowDecoder decode = nullptr);

// A link to `target` (a Windows path) with a description and working folder, written with Unicode
// link info and string data and no ID list.
std::string buildShellLink(std::u16string_view target, std::u16string_view description,
                           std::u16string_view workingDir);

// UTF-16 to UTF-8 and back; unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);

} // namespace vendle
