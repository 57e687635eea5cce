#include "platform/fileaccess.h"

#include "glibutil.h"
#include "platform/logging.h"

#include <glib/gstdio.h>

#include <sys/stat.h>

namespace vendle::platform {

bool SystemFileAccess::exists(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0;
}

bool SystemFileAccess::isExistingFile(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> SystemFileAccess::readAll(const std::string& path) {
    std::string why;
    std::optional<std::string> text = readWholeFile(path, &why);
    if (!text)
        qCWarning(lcFiles).noquote() << "cannot read" << QString::fromStdString(path)
                                     << QString::fromStdString(why);
    return text;
}

void SystemFileAccess::writeAtomicallyFrom(const std::string& path, const ByteWriter& write) {
    // The text is produced first: a producer that fails leaves nothing behind.
    StringSink sink;
    write(sink);
    // A replaced file keeps its permissions; a new one is the user's alone.
    int mode = 0600;
    GStatBuf st;
    if (g_stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        mode = static_cast<int>(st.st_mode & 07777);
    GError* raw = nullptr;
    if (!g_file_set_contents_full(path.c_str(), sink.bytes.data(), static_cast<gssize>(sink.bytes.size()),
                                  G_FILE_SET_CONTENTS_CONSISTENT, mode, &raw)) {
        const GErrorPtr error(raw);
        qCWarning(lcFiles).noquote() << "cannot write" << QString::fromStdString(path)
                                     << QString::fromStdString(messageOf(error));
        throw IoError("ファイル「" + path + "」に書き込めませんでした。\n" + messageOf(error));
    }
}

} // namespace vendle::platform
