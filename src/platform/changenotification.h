// SPDX-License-Identifier: GPL-3.0-or-later
// A kernel watch on a directory that says, when asked without waiting, whether something of the
// chosen kinds changed there since the last question.
#pragma once

#include <string>
#include <vector>

namespace vendle::platform {

// Kinds of change, as bits.
namespace ChangeKind {
inline constexpr unsigned FileName = 0x1; // files created, deleted or renamed
inline constexpr unsigned DirName = 0x2;  // folders created, deleted or renamed
inline constexpr unsigned Attributes = 0x4;
inline constexpr unsigned Size = 0x8;
inline constexpr unsigned LastWrite = 0x10;
inline constexpr unsigned Security = 0x100;
} // namespace ChangeKind

class ChangeNotification {
public:
    ChangeNotification() = default;
    ~ChangeNotification();
    ChangeNotification(const ChangeNotification&) = delete;
    ChangeNotification& operator=(const ChangeNotification&) = delete;

    // Starts watching; false (and never signalled) when the directory cannot be watched.
    bool open(const std::string& directory, unsigned kinds, bool subtree);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // True when changes of the watched kinds arrived since the last call; consumes them. Never
    // waits.
    bool signalled();

private:
    void addWatch(const std::string& directory, bool subtree);

    int fd_ = -1;
    unsigned kinds_ = 0;
    unsigned mask_ = 0;
    bool subtree_ = false;
    std::vector<std::pair<int, std::string>> watches_;
};

} // namespace vendle::platform
