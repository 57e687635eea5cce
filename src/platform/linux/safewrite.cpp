// SPDX-License-Identifier: GPL-3.0-or-later
#include "safewrite.h"
#include "core/texts.h"

#include <glib/gstdio.h>

#include "glibutil.h"
#include "platform/logging.h"

#include <sys/stat.h>

namespace vendle::platform {

std::string writeTarget(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        GStatBuf st;
        if (g_lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        const GCharPtr link(g_file_read_link(target.c_str(), nullptr));
        if (!link)
            return target;
        const GCharPtr dir(g_path_get_dirname(target.c_str()));
        const GCharPtr next(g_canonicalize_filename(link.get(), dir.get()));
        target = next.get();
    }
    return target; // a loop: the write fails there and says so
}

std::optional<std::string> replaceFile(const std::string& path, std::string_view bytes, int newMode) {
    const std::string target = writeTarget(path);
    int mode = newMode;
    GStatBuf st;
    if (g_lstat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            qCWarning(lcFiles) << "not a regular file, left as it is:" << target.c_str();
            return target == path
                       ? fillIn(textIn("Files", "「%1」は通常のファイルではないため、書き換えません。"),
                                {path})
                       : fillIn(
                             textIn(
                                 "Files",
                                 "「%1」(「%2」を指すリンク)は通常のファイルではないため、書き換えません。"),
                             {path, target});
        }
        mode = static_cast<int>(st.st_mode & 07777);
    }
    GError* raw = nullptr;
    if (g_file_set_contents_full(target.c_str(), bytes.data(), static_cast<gssize>(bytes.size()),
                                 G_FILE_SET_CONTENTS_CONSISTENT, mode, &raw))
        return std::nullopt;
    const GErrorPtr error(raw);
    qCWarning(lcFiles) << "cannot write" << target.c_str() << messageOf(error).c_str();
    return fillIn(textIn("Files", "ファイル「%1」に書き込めませんでした。"), {target}) + "\n" +
           messageOf(error);
}

} // namespace vendle::platform
