// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary folder for platform tests, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace vendle::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vendle-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name = {}) const { return name.empty() ? path_ : path_ + "/" + name; }

    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string p = path(name);
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

private:
    std::string path_;
};

} // namespace vendle::test
