#include "mountinfo.h"

#include "core/text.h"

#include <string>
#include <vector>

namespace vendle::platform::linux_fs {

namespace {

// A mountinfo line: "36 35 98:0 /root /mnt opts [optional fields] - fstype source superopts".
struct MountLine {
    std::string_view device;
    std::string_view fsType;
    std::string_view superOptions;
};

bool parseLine(std::string_view line, MountLine& out) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t blank = line.find(' ', start);
        const std::size_t end = blank == std::string_view::npos ? line.size() : blank;
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    if (fields.size() < 7)
        return false;
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-")
        ++dash;
    if (dash + 3 >= fields.size())
        return false;
    out.device = fields[2];
    out.fsType = fields[dash + 1];
    out.superOptions = fields[dash + 3];
    return true;
}

bool hasOption(std::string_view options, std::string_view option) {
    std::size_t start = 0;
    while (start <= options.size()) {
        const std::size_t comma = options.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? options.size() : comma;
        if (options.substr(start, end - start) == option)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

bool renameCommitsDataFirst(std::string_view mountinfo, unsigned major, unsigned minor) {
    const std::string device = std::to_string(major) + ":" + std::to_string(minor);
    bool found = false;
    bool ordered = false;
    forEachLine(mountinfo, [&](std::string_view line) {
        MountLine mount;
        if (found || !parseLine(line, mount) || mount.device != device)
            return;
        found = true;
        if (mount.fsType == "btrfs") {
            ordered = true;
        } else if (mount.fsType == "ext4" || mount.fsType == "ext3") {
            ordered = !hasOption(mount.superOptions, "noauto_da_alloc") &&
                      !hasOption(mount.superOptions, "data=writeback");
        }
    });
    return ordered;
}

} // namespace vendle::platform::linux_fs
