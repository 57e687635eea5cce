// The operating system's file access for the core's history and settings files.
#pragma once

#include "core/fileaccess.h"

namespace vendle::platform {

class SystemFileAccess final : public FileAccess {
public:
    bool exists(const std::string& path) override;
    bool isExistingFile(const std::string& path) override;
    std::optional<std::string> readAll(const std::string& path) override;

    // Writes a temporary file beside the target, flushes it to the disk and renames it over the
    // target; on failure the temporary file is removed and the target is left as it was.
    void writeAtomicallyFrom(const std::string& path, const ByteWriter& write) override;
};

} // namespace vendle::platform
