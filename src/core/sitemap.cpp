// SPDX-License-Identifier: GPL-3.0-or-later
#include "sitemap.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

namespace vendle {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                      [](char a, char b) { return lower(a) == lower(b); });
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// An attribute value with its character references resolved.
std::string decoded(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '&') {
            out += value[i];
            continue;
        }
        const std::size_t end = value.find(';', i);
        if (end == std::string_view::npos || end - i > 10) {
            out += '&';
            continue;
        }
        const std::string_view name = value.substr(i + 1, end - i - 1);
        if (name == "amp")
            out += '&';
        else if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            std::uint32_t code = 0;
            bool digits = name.size() > (hex ? 2u : 1u);
            for (const char c : name.substr(hex ? 2 : 1)) {
                const int d = std::isdigit(static_cast<unsigned char>(c))           ? c - '0'
                              : hex && std::isxdigit(static_cast<unsigned char>(c)) ? lower(c) - 'a' + 10
                                                                                    : -1;
                if (d < 0 || code > 0x10FFFF) {
                    digits = false;
                    break;
                }
                code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
            }
            if (!digits) {
                out += '&';
                continue;
            }
            appendUtf8(out, code);
        } else {
            out += '&';
            continue;
        }
        i = end;
    }
    return out;
}

// The value of attribute `name` in a tag's text (after its name), or nothing.
std::optional<std::string> attribute(std::string_view tag, std::string_view name) {
    std::size_t i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && (std::isspace(static_cast<unsigned char>(tag[i])) || tag[i] == '/'))
            ++i;
        const std::size_t start = i;
        while (i < tag.size() && tag[i] != '=' && !std::isspace(static_cast<unsigned char>(tag[i])) &&
               tag[i] != '/')
            ++i;
        const std::string_view key = tag.substr(start, i - start);
        while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i])))
            ++i;
        std::string_view value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i])))
                ++i;
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                const char quote = tag[i++];
                const std::size_t end = std::min(tag.find(quote, i), tag.size());
                value = tag.substr(i, end - i);
                i = end + 1;
            } else {
                const std::size_t vs = i;
                while (i < tag.size() && !std::isspace(static_cast<unsigned char>(tag[i])))
                    ++i;
                value = tag.substr(vs, i - vs);
            }
        }
        if (key.empty()) {
            ++i;
            continue;
        }
        if (key.size() == name.size() && startsWithNoCase(key, name))
            return decoded(value);
    }
    return std::nullopt;
}

} // namespace

std::vector<SitemapEntry> parseSitemap(std::string_view text) {
    std::vector<SitemapEntry> top;
    // The list being filled at each depth; the entries of depth d + 1 go into the last entry of
    // depth d.
    std::vector<std::vector<SitemapEntry>*> lists;
    int entries = 0;
    bool inSitemapObject = false;
    SitemapEntry pending;
    std::size_t i = 0;
    while (i < text.size() && entries < kSitemapEntries) {
        const std::size_t open = text.find('<', i);
        if (open == std::string_view::npos)
            break;
        if (text.substr(open, 4) == "<!--") {
            const std::size_t end = text.find("-->", open + 4);
            i = end == std::string_view::npos ? text.size() : end + 3;
            continue;
        }
        const std::size_t close = text.find('>', open + 1);
        if (close == std::string_view::npos)
            break;
        std::string_view tag = text.substr(open + 1, close - open - 1);
        i = close + 1;
        const bool closing = !tag.empty() && tag[0] == '/';
        if (closing)
            tag.remove_prefix(1);
        std::size_t nameEnd = 0;
        while (nameEnd < tag.size() && std::isalnum(static_cast<unsigned char>(tag[nameEnd])))
            ++nameEnd;
        const std::string_view tagName = tag.substr(0, nameEnd);
        const std::string_view rest = tag.substr(nameEnd);
        const auto is = [&](std::string_view name) {
            return tagName.size() == name.size() && startsWithNoCase(tagName, name);
        };
        if (is("ul")) {
            if (closing) {
                if (!lists.empty())
                    lists.pop_back();
            } else if (lists.empty()) {
                lists.push_back(&top);
            } else if (static_cast<int>(lists.size()) < kSitemapDepth && !lists.back()->empty()) {
                lists.push_back(&lists.back()->back().children);
            } else {
                lists.push_back(lists.back()); // too deep, or no entry to nest in: same level
            }
        } else if (is("object")) {
            if (closing) {
                if (inSitemapObject && !pending.name.empty()) {
                    std::vector<SitemapEntry>& list = lists.empty() ? top : *lists.back();
                    list.push_back(std::move(pending));
                    ++entries;
                }
                inSitemapObject = false;
                pending = {};
            } else {
                const std::optional<std::string> type = attribute(rest, "type");
                inSitemapObject = type && type->size() == 12 && startsWithNoCase(*type, "text/sitemap");
                pending = {};
            }
        } else if (is("param") && inSitemapObject) {
            const std::optional<std::string> name = attribute(rest, "name");
            const std::optional<std::string> value = attribute(rest, "value");
            if (name && value) {
                if (name->size() == 4 && startsWithNoCase(*name, "name") && pending.name.empty())
                    pending.name = *value;
                else if (name->size() == 5 && startsWithNoCase(*name, "local") && pending.local.empty())
                    pending.local = *value;
            }
        }
    }
    return top;
}

} // namespace vendle
