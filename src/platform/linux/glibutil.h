// SPDX-License-Identifier: GPL-3.0-or-later
// Owning pointers for GLib's objects and strings, and reading a whole file with the reason when
// it fails, so that every platform unit frees and reports the same way.
#pragma once

#include <glib-object.h>
#include <glib.h>

#include "boundedread.h"

#include <memory>
#include <optional>
#include <string>

namespace vendle::platform {

// Calls a GLib release function for a non-null pointer.
template <auto Release> struct GRelease {
    template <typename T> void operator()(T* p) const {
        if (p)
            Release(p);
    }
};

using GCharPtr = std::unique_ptr<gchar, GRelease<g_free>>;
using GErrorPtr = std::unique_ptr<GError, GRelease<g_error_free>>;
using GDateTimePtr = std::unique_ptr<GDateTime, GRelease<g_date_time_unref>>;
using GDirPtr = std::unique_ptr<GDir, GRelease<g_dir_close>>;
using GMarkupContextPtr = std::unique_ptr<GMarkupParseContext, GRelease<g_markup_parse_context_free>>;
template <typename T> using GObjectPtr = std::unique_ptr<T, GRelease<g_object_unref>>;

// The message of a GLib error, or "" for none.
inline std::string messageOf(const GErrorPtr& error) {
    return error && error->message ? std::string(error->message) : std::string();
}

// The file URI of an absolute path; empty when it has none.
inline std::string uriOf(const std::string& path) {
    const GCharPtr uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    return uri ? std::string(uri.get()) : std::string();
}

// The whole file when it is a regular file of at most `limit` bytes; nullopt otherwise, with the
// reason in `why` when it is given. Never blocks (see boundedread.h).
inline std::optional<std::string> readWholeFile(const std::string& path, std::size_t limit,
                                                std::string* why = nullptr) {
    return readBounded(path, limit, why);
}

} // namespace vendle::platform
