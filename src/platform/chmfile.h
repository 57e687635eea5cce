// Reading pages, images and style sheets out of a compiled HTML help file (CHM). The file is
// untrusted input: a truncated or corrupt file gives no object, never a crash or a huge read.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace vendle::platform {

class ChmFile {
public:
    // Null when the file cannot be opened as a help file.
    static std::unique_ptr<ChmFile> open(const std::string& path);
    virtual ~ChmFile() = default;

    // The object at `path` inside the file ("/index.htm"); nullopt when there is none or it cannot
    // be read whole.
    virtual std::optional<std::string> read(const std::string& path) = 0;
};

} // namespace vendle::platform
