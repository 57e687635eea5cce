// The file operations the history and settings files need, as an interface the platform layer
// implements, so that the core reads and writes bytes without touching the file system itself.
#pragma once

#include "errors.h"

#include <optional>
#include <string>
#include <string_view>

namespace vendle {

// A file could not be read or written; the message is ready to show to the user.
class IoError : public Error {
public:
    using Error::Error;
};

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // True when something exists at the path (file or folder).
    virtual bool exists(const std::string& path) = 0;

    // True when the path names an existing file; a folder does not count.
    virtual bool isExistingFile(const std::string& path) = 0;

    // The whole file, or nullopt when it cannot be opened or read.
    virtual std::optional<std::string> readAll(const std::string& path) = 0;

    // Replaces the file with `bytes` so that a crash or a full disk leaves either the old file or
    // the new one, never a mixture. Throws IoError.
    virtual void writeAtomically(const std::string& path, std::string_view bytes) = 0;
};

} // namespace vendle
