// An in-memory file system for core tests: files with contents, folders, and switchable failures.
#pragma once

#include "core/fileaccess.h"

#include <map>
#include <set>
#include <string>

namespace vendle::test {

class FakeFiles final : public FileAccess {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> unreadable;
    bool failWrites = false;
    int writes = 0;

    bool exists(const std::string& path) override { return files.count(path) || folders.count(path); }
    bool isExistingFile(const std::string& path) override { return files.count(path) > 0; }
    std::optional<std::string> readAll(const std::string& path) override {
        if (unreadable.count(path) || !files.count(path))
            return std::nullopt;
        return files[path];
    }
    void writeAtomically(const std::string& path, std::string_view bytes) override {
        ++writes;
        if (failWrites)
            throw IoError("disk full: " + path);
        files[path] = std::string(bytes);
    }
};

} // namespace vendle::test
