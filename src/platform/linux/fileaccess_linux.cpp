#include "platform/fileaccess.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <memory>

namespace vendle::platform {

namespace {

struct ErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

} // namespace

bool SystemFileAccess::exists(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0;
}

bool SystemFileAccess::isExistingFile(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> SystemFileAccess::readAll(const std::string& path) {
    gchar* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr))
        return std::nullopt;
    std::unique_ptr<gchar, decltype(&g_free)> owned(contents, g_free);
    return std::string(contents, length);
}

void SystemFileAccess::writeAtomically(const std::string& path, std::string_view bytes) {
    GError* raw = nullptr;
    const gboolean ok =
        g_file_set_contents_full(path.c_str(), bytes.data(), static_cast<gssize>(bytes.size()),
                                 G_FILE_SET_CONTENTS_CONSISTENT, 0666, &raw);
    ErrorPtr error(raw);
    if (!ok) {
        throw IoError("ファイル「" + path + "」に書き込めませんでした。\n" +
                      (error ? std::string(error->message) : std::string()));
    }
}

} // namespace vendle::platform
