// SPDX-License-Identifier: GPL-3.0-or-later
#include "xbelreader.h"

#include <algorithm>

#include "glibutil.h"

#include <cstring>
#include <memory>
#include <optional>

namespace vendle::platform {

namespace {

struct ParseState {
    int depth = 0;
    bool rootSeen = false;
    std::vector<RecentEntry> entries;
};

// A time attribute as seconds and nanoseconds; nullopt when it cannot be read.
std::optional<RecentEntry::Stamp> readTime(const char* text) {
    const GDateTimePtr t(g_date_time_new_from_iso8601(text, nullptr));
    if (!t)
        return std::nullopt;
    return RecentEntry::Stamp{g_date_time_to_unix(t.get()),
                              static_cast<std::int32_t>(g_date_time_get_microsecond(t.get())) * 1000};
}

void startElement(GMarkupParseContext*, const gchar* element, const gchar** names, const gchar** values,
                  gpointer data, GError** error) {
    auto& state = *static_cast<ParseState*>(data);
    const int depth = state.depth++;
    if (depth == 0) {
        if (std::strcmp(element, "xbel") != 0) {
            g_set_error_literal(error, G_MARKUP_ERROR, G_MARKUP_ERROR_INVALID_CONTENT, "not a bookmark file");
            return;
        }
        state.rootSeen = true;
        return;
    }
    if (depth != 1 || std::strcmp(element, "bookmark") != 0)
        return;
    const char* href = nullptr;
    std::optional<RecentEntry::Stamp> latest;
    for (int i = 0; names[i]; ++i) {
        if (std::strcmp(names[i], "href") == 0) {
            href = values[i];
        } else if (std::strcmp(names[i], "added") == 0 || std::strcmp(names[i], "modified") == 0 ||
                   std::strcmp(names[i], "visited") == 0) {
            const std::optional<RecentEntry::Stamp> t = readTime(values[i]);
            if (t && (!latest || *latest < *t))
                latest = t;
        }
    }
    if (!href || !*href)
        return;
    RecentEntry entry{href, 0, 0};
    if (latest) {
        entry.unixTime = latest->seconds;
        entry.nanos = latest->nanos;
    }
    state.entries.push_back(std::move(entry));
}

void endElement(GMarkupParseContext*, const gchar*, gpointer data, GError**) {
    --static_cast<ParseState*>(data)->depth;
}

} // namespace

bool readXbelEntries(std::string_view text, std::vector<RecentEntry>& entries, std::string* why,
                     const std::atomic<bool>* cancelled) {
    if (text.size() > static_cast<std::size_t>(G_MAXSSIZE))
        return false;
    const GMarkupParser parser{startElement, endElement, nullptr, nullptr, nullptr};
    ParseState state;
    const GMarkupContextPtr context(
        g_markup_parse_context_new(&parser, G_MARKUP_PREFIX_ERROR_POSITION, &state, nullptr));
    GError* raw = nullptr;
    // Fed a piece at a time, so that a cancelled read stops soon.
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    bool parsed = true;
    for (std::size_t at = 0; parsed && at < text.size(); at += kPiece) {
        if (cancelled && *cancelled) {
            if (why)
                *why = "cancelled";
            return false;
        }
        const std::size_t n = std::min(kPiece, text.size() - at);
        parsed = g_markup_parse_context_parse(context.get(), text.data() + at, static_cast<gssize>(n), &raw);
    }
    parsed = parsed && g_markup_parse_context_end_parse(context.get(), &raw);
    const GErrorPtr error(raw);
    if (why)
        *why = parsed ? (state.rootSeen ? "" : "no bookmark file") : messageOf(error);
    // A damaged stretch costs only what follows it: the bookmarks read before it are kept.
    if (!state.rootSeen || (!parsed && state.entries.empty()))
        return false;
    entries.insert(entries.end(), std::make_move_iterator(state.entries.begin()),
                   std::make_move_iterator(state.entries.end()));
    return true;
}

} // namespace vendle::platform
