// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/texts.h"
#include "platform/opener.h"

// GIO before Qt's headers: Qt's "signals" keyword would clash with GIO's members.
#include <gio/gio.h>
#include <glib/gstdio.h>

#include "glibutil.h"
#include "platform/logging.h"
#include "platform/system.h"
#include "safewrite.h"

#include <cerrno>
#include <unistd.h>

namespace vendle::platform {

namespace {

using GBookmarkFilePtr = std::unique_ptr<GBookmarkFile, GRelease<g_bookmark_file_free>>;

} // namespace

OpenResult openWithDefaultApplication(const std::string& path) {
    OpenResult result;
    GStatBuf st;
    if (g_stat(path.c_str(), &st) != 0) {
        result.reason = SystemErrorText(errno);
        return result;
    }
    const std::string uri = uriOf(path);
    GError* raw = nullptr;
    result.ok = !uri.empty() && g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &raw);
    const GErrorPtr error(raw);
    if (!result.ok) {
        // GIO's words for a missing handler speak of a file, also for a folder.
        if (g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED))
            result.reason =
                S_ISDIR(st.st_mode)
                    ? textIn("Opener", "フォルダを開くアプリケーションが登録されていません。")
                    : textIn("Opener", "このファイルを開くアプリケーションが登録されていません。");
        else
            result.reason = error ? messageOf(error) : SystemErrorText(EINVAL);
        qCInfo(lcUi) << "cannot open" << path.c_str() << result.reason.c_str();
    }
    return result;
}

bool isReadOnlyFile(const std::string& path) {
    GStatBuf st;
    if (g_stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return ::access(path.c_str(), R_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
}

bool noteRecentlyUsed(const std::string& path, const std::string& dataHome) {
    const std::string folder = dataHome.empty() ? std::string(g_get_user_data_dir()) : dataHome;
    const std::string file = folder + "/recently-used.xbel";
    const std::string uri = uriOf(path);
    if (uri.empty())
        return false;
    const GBookmarkFilePtr bookmarks(g_bookmark_file_new());
    GError* raw = nullptr;
    if (!g_bookmark_file_load_from_file(bookmarks.get(), file.c_str(), &raw)) {
        const GErrorPtr error(raw);
        // A missing file is started afresh; a damaged one is not overwritten.
        if (!g_error_matches(error.get(), G_FILE_ERROR, G_FILE_ERROR_NOENT)) {
            qCWarning(lcRecent) << "cannot read" << file.c_str() << messageOf(error).c_str();
            return false;
        }
    }
    GStatBuf st;
    const bool isFolder = g_stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    const GCharPtr type(isFolder ? g_strdup("inode/directory")
                                 : g_content_type_guess(path.c_str(), nullptr, 0, nullptr));
    const GCharPtr mime(type ? g_content_type_get_mime_type(type.get()) : nullptr);
    g_bookmark_file_set_mime_type(bookmarks.get(), uri.c_str(),
                                  mime ? mime.get() : "application/octet-stream");
    const std::string exe = executablePath();
    const GCharPtr quoted(g_shell_quote(exe.empty() ? "vendle" : exe.c_str()));
    // Adding the application again counts one more use and stamps the bookmark as modified now.
    g_bookmark_file_add_application(bookmarks.get(), uri.c_str(), "Vendle",
                                    (std::string(quoted.get()) + " %u").c_str());
    gsize length = 0;
    const GCharPtr data(g_bookmark_file_to_data(bookmarks.get(), &length, nullptr));
    if (!data)
        return false;
    g_mkdir_with_parents(folder.c_str(), 0700);
    if (const std::optional<std::string> failure = replaceFile(file, std::string_view(data.get(), length))) {
        qCWarning(lcRecent) << "cannot write" << file.c_str() << failure->c_str();
        return false;
    }
    return true;
}

} // namespace vendle::platform
