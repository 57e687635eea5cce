// SPDX-License-Identifier: GPL-3.0-or-later
// Reading pages, images and style sheets out of a compiled HTML help file (CHM). The file is
// untrusted input: a truncated or corrupt file gives no object, never a crash or a huge read.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace vendle::platform {

// The check a help file passes before it is opened, running in the background so that the window
// goes on meanwhile. Destroying a check that still runs stops it.
class ChmCheck {
public:
    // Null when the file fails at once (missing, not a help file, no way to check it).
    static std::unique_ptr<ChmCheck> start(const std::string& path);
    virtual ~ChmCheck() = default;

    // Nothing while the check runs; then whether the file may be opened. Never blocks.
    virtual std::optional<bool> result() = 0;
};

class ChmFile {
public:
    // Checks the file and opens it, waiting for the check; null when it cannot be opened as a help
    // file.
    static std::unique_ptr<ChmFile> open(const std::string& path);
    // Opens a file whose check passed.
    static std::unique_ptr<ChmFile> openChecked(const std::string& path);
    virtual ~ChmFile() = default;

    // The object at `path` inside the file ("/index.htm"); nullopt when there is none or it cannot
    // be read whole.
    virtual std::optional<std::string> read(const std::string& path) = 0;
};

} // namespace vendle::platform
