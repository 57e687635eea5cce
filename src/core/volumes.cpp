// SPDX-License-Identifier: GPL-3.0-or-later
#include "volumes.h"

#include "text.h"

namespace vendle {

namespace {

// Mount points write a blank, tab, newline and backslash as three octal digits after "\".
std::string decodeOctal(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto digit = [&](std::size_t k) {
            return k < field.size() && field[k] >= '0' && field[k] <= '7';
        };
        if (field[i] == '\\' && digit(i + 1) && digit(i + 2) && digit(i + 3)) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

bool isFolderPrefix(std::string_view dir, std::string_view path) {
    if (dir == "/")
        return !path.empty() && path.front() == '/';
    return path.size() >= dir.size() && path.compare(0, dir.size(), dir) == 0 &&
           (path.size() == dir.size() || path[dir.size()] == '/');
}

} // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    forEachLine(text, [&](std::string_view line) {
        // id parent major:minor root mount-point options [optional...] - fstype source super-options
        std::vector<std::string_view> fields;
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t end = line.find(' ', pos);
            fields.push_back(
                line.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
            if (end == std::string_view::npos)
                break;
            pos = end + 1;
        }
        std::size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-")
            ++dash;
        if (fields.size() < 5 || dash + 1 >= fields.size())
            return;
        mounts.push_back({decodeOctal(fields[4]), std::string(fields[dash + 1])});
    });
    return mounts;
}

std::string volumeRootOf(std::string_view path, const std::vector<std::string>& roots) {
    for (const std::string& root : roots) {
        if (root.empty() || root.back() != '/' || path.size() <= root.size() ||
            path.compare(0, root.size(), root) != 0)
            continue;
        const std::size_t slash = path.find('/', root.size());
        if (slash == root.size())
            continue;
        return std::string(path.substr(0, slash));
    }
    return {};
}

bool isMountPoint(const std::vector<MountEntry>& mounts, std::string_view dir) {
    for (const MountEntry& m : mounts) {
        if (m.mountPoint == dir)
            return true;
    }
    return false;
}

const MountEntry* mountOf(const std::vector<MountEntry>& mounts, std::string_view path) {
    const MountEntry* best = nullptr;
    for (const MountEntry& m : mounts) {
        if (isFolderPrefix(m.mountPoint, path) && (!best || m.mountPoint.size() >= best->mountPoint.size()))
            best = &m;
    }
    return best;
}

bool isSlowFileSystem(std::string_view fsType) {
    for (const char* slow :
         {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "9p", "afs", "ceph", "glusterfs", "davfs",
          "fuse.sshfs", "fuse.gvfsd-fuse", "fuse.rclone", "fuse.s3fs"}) {
        if (fsType == slow)
            return true;
    }
    return false;
}

} // namespace vendle
