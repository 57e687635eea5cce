// SPDX-License-Identifier: GPL-3.0-or-later
// Resolving shortcuts to the documents they point at: desktop links, Windows shell links (through
// a Wine prefix when one exists) and symbolic links.
#pragma once

#include <string>
#include <string_view>

namespace vendle::platform {

// The target path of the shortcut file at `path`; empty when the file is no shortcut or its target
// no longer exists. Throws ShortcutError ("Resolve Error") when a link names its target in a form
// that cannot be turned into a path.
std::string ResolveShortcut(const std::string& path);

// A Windows path of a shell link as a local path through the Wine prefix ($WINEPREFIX, else
// ~/.wine): "C:\a\b.txt" becomes "<prefix>/drive_c/a/b.txt". Empty when there is no such drive.
std::string windowsPathToLocal(const std::string& windowsPath);

// The path as one document: normalised ("/a/../b" is "/b") and naming an existing regular file,
// else empty (a folder, a device, a pipe or a missing path is no document).
std::string existingDocument(const std::string& path);

// Text in the code page of the Windows system that wrote it (taken as CP932 unless it is valid
// UTF-8) as UTF-8.
std::string decodeWindowsText(std::string_view bytes);

} // namespace vendle::platform
