// SPDX-License-Identifier: GPL-3.0-or-later
// An in-memory file system for core tests: files with contents, folders, and switchable failures.
#pragma once

#include "core/fileaccess.h"

#include <functional>
#include <map>
#include <set>
#include <string>

namespace vendle::test {

class FakeFiles final : public FileAccess {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> unreadable;
    std::set<std::string> away; // on a volume that is not there now
    bool failWrites = false;
    int writes = 0;
    std::function<void()> beforePresenceOfEach; // runs on the asking thread, before any lookup

    bool exists(const std::string& path) override { return files.count(path) || folders.count(path); }
    bool isExistingFile(const std::string& path) override { return files.count(path) > 0; }
    Presence presence(const std::string& path) override {
        return away.count(path) ? Presence::Unavailable : FileAccess::presence(path);
    }
    std::vector<Presence> presenceOfEach(const std::vector<std::string_view>& paths) override {
        if (beforePresenceOfEach)
            beforePresenceOfEach();
        return FileAccess::presenceOfEach(paths);
    }
    std::optional<std::string> readAll(const std::string& path, std::size_t limit) override {
        if (unreadable.count(path) || !files.count(path) || files[path].size() > limit)
            return std::nullopt;
        return files[path];
    }
    void writeAtomicallyFrom(const std::string& path, const ByteWriter& write) override {
        ++writes;
        StringSink sink;
        write(sink);
        if (failWrites)
            throw IoError("disk full: " + path);
        files[path] = std::move(sink.bytes);
    }
};

} // namespace vendle::test
