// SPDX-License-Identifier: GPL-3.0-or-later
#include "shelllink.h"

#include <array>
#include <cstring>

namespace vendle {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::array<unsigned char, 16> kLinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;
constexpr std::size_t kMaxExtraBlocks = 64;

// A bounds-checked view of the file.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    bool has(std::size_t pos, std::size_t count) const {
        return pos <= bytes_.size() && count <= bytes_.size() - pos;
    }

    std::optional<std::uint16_t> u16(std::size_t pos) const {
        if (!has(pos, 2))
            return std::nullopt;
        return static_cast<std::uint16_t>(byte(pos) | byte(pos + 1) << 8);
    }
    std::optional<std::uint32_t> u32(std::size_t pos) const {
        if (!has(pos, 4))
            return std::nullopt;
        return static_cast<std::uint32_t>(byte(pos) | byte(pos + 1) << 8 | byte(pos + 2) << 16) |
               static_cast<std::uint32_t>(byte(pos + 3)) << 24;
    }
    // A NUL-terminated byte string starting at `pos` and ending before `limit`.
    std::optional<std::string> cString(std::size_t pos, std::size_t limit) const {
        limit = std::min(limit, bytes_.size());
        if (pos >= limit)
            return std::nullopt;
        const std::size_t end = bytes_.find('\0', pos);
        if (end == std::string_view::npos || end >= limit)
            return std::nullopt;
        return std::string(bytes_.substr(pos, end - pos));
    }
    // A NUL-terminated UTF-16 string starting at `pos` and ending before `limit`.
    std::optional<std::u16string> wString(std::size_t pos, std::size_t limit) const {
        limit = std::min(limit, bytes_.size());
        std::u16string out;
        for (std::size_t p = pos; p + 1 < limit; p += 2) {
            const char16_t c = static_cast<char16_t>(byte(p) | byte(p + 1) << 8);
            if (c == 0)
                return out;
            out.push_back(c);
        }
        return std::nullopt;
    }
    std::string_view slice(std::size_t pos, std::size_t count) const { return bytes_.substr(pos, count); }

private:
    unsigned byte(std::size_t pos) const { return static_cast<unsigned char>(bytes_[pos]); }
    std::string_view bytes_;
};

bool readLinkInfo(const Reader& r, std::size_t start, ShellLinkInfo& link, std::size_t& next) {
    const auto size = r.u32(start);
    const auto headerSize = r.u32(start + 4);
    const auto infoFlags = r.u32(start + 8);
    if (!size || !headerSize || !infoFlags || *size < 0x1C || !r.has(start, *size) || *headerSize > *size)
        return false;
    const std::size_t end = start + *size;
    next = end;
    const auto localOffset = r.u32(start + 16);
    const auto networkOffset = r.u32(start + 20);
    const auto suffixOffset = r.u32(start + 24);
    if (!localOffset || !networkOffset || !suffixOffset)
        return false;
    std::optional<std::uint32_t> localOffsetW, suffixOffsetW;
    if (*headerSize >= 0x24) {
        localOffsetW = r.u32(start + 28);
        suffixOffsetW = r.u32(start + 32);
    }
    const auto narrow = [&](std::uint32_t offset, LinkText& text) {
        if (offset == 0)
            return true;
        const auto s = r.cString(start + offset, end);
        if (!s)
            return false;
        text.present = true;
        text.narrow = *s;
        return true;
    };
    const auto wide = [&](std::optional<std::uint32_t> offset, LinkText& text) {
        if (!offset || *offset == 0)
            return true;
        const auto s = r.wString(start + *offset, end);
        if (!s)
            return false;
        text.present = true;
        text.unicode = true;
        text.wide = *s;
        return true;
    };
    if (*infoFlags & 0x1) {
        if (!narrow(*localOffset, link.localBasePath) || !wide(localOffsetW, link.localBasePath))
            return false;
    }
    if (!narrow(*suffixOffset, link.commonPathSuffix) || !wide(suffixOffsetW, link.commonPathSuffix))
        return false;
    if ((*infoFlags & 0x2) && *networkOffset != 0) {
        const std::size_t net = start + *networkOffset;
        const auto netSize = r.u32(net);
        const auto netNameOffset = r.u32(net + 8);
        if (!netSize || !netNameOffset || *netSize < 0x14 || !r.has(net, *netSize) || net + *netSize > end)
            return false;
        const auto name = r.cString(net + *netNameOffset, net + *netSize);
        if (!name)
            return false;
        link.netName.present = true;
        link.netName.narrow = *name;
        if (*netNameOffset > 0x14) {
            const auto wideOffset = r.u32(net + 20);
            if (wideOffset && *wideOffset != 0) {
                if (const auto w = r.wString(net + *wideOffset, net + *netSize)) {
                    link.netName.unicode = true;
                    link.netName.wide = *w;
                }
            }
        }
    }
    return true;
}

bool readStringData(const Reader& r, std::size_t& pos, bool unicode, LinkText& text) {
    const auto count = r.u16(pos);
    if (!count)
        return false;
    pos += 2;
    const std::size_t bytes = static_cast<std::size_t>(*count) * (unicode ? 2 : 1);
    if (!r.has(pos, bytes))
        return false;
    text.present = true;
    text.unicode = unicode;
    const std::string_view raw = r.slice(pos, bytes);
    if (unicode) {
        for (std::size_t i = 0; i + 1 < raw.size(); i += 2)
            text.wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                                      static_cast<unsigned char>(raw[i + 1]) << 8));
    } else {
        text.narrow = std::string(raw);
    }
    pos += bytes;
    return true;
}

void readExtraData(const Reader& r, std::size_t pos, ShellLinkInfo& link) {
    for (std::size_t n = 0; n < kMaxExtraBlocks; ++n) {
        const auto size = r.u32(pos);
        if (!size || *size < 4 || !r.has(pos, *size))
            return;
        const auto signature = r.u32(pos + 4);
        if (signature && *signature == kEnvironmentBlock && *size >= 0x314) {
            if (const auto a = r.cString(pos + 8, pos + 8 + 260); a && !a->empty()) {
                link.environmentTarget.present = true;
                link.environmentTarget.narrow = *a;
            }
            if (const auto w = r.wString(pos + 268, pos + 268 + 520); w && !w->empty()) {
                link.environmentTarget.present = true;
                link.environmentTarget.unicode = true;
                link.environmentTarget.wide = *w;
            }
        }
        pos += *size;
    }
}

void put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putWide(std::string& out, std::u16string_view text, bool terminate) {
    for (char16_t c : text)
        put16(out, c);
    if (terminate)
        put16(out, 0);
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

std::optional<ShellLinkInfo> parseShellLink(std::string_view bytes) {
    const Reader r(bytes);
    const auto headerSize = r.u32(0);
    if (!headerSize || *headerSize != kHeaderSize || !r.has(0, kHeaderSize) ||
        std::memcmp(bytes.data() + 4, kLinkClsid.data(), kLinkClsid.size()) != 0)
        return std::nullopt;
    ShellLinkInfo link;
    link.flags = *r.u32(20);
    std::size_t pos = kHeaderSize;
    if (link.flags & LinkFlag::HasLinkTargetIDList) {
        const auto idListSize = r.u16(pos);
        if (!idListSize || !r.has(pos + 2, *idListSize))
            return std::nullopt;
        pos += 2 + *idListSize;
    }
    if (link.flags & LinkFlag::HasLinkInfo) {
        std::size_t next = pos;
        ShellLinkInfo withInfo = link;
        if (!readLinkInfo(r, pos, withInfo, next))
            return std::nullopt;
        // A link that forces its link info to be ignored keeps only the rest.
        if (!(link.flags & LinkFlag::ForceNoLinkInfo))
            link = std::move(withInfo);
        pos = next;
    }
    const bool unicode = link.flags & LinkFlag::IsUnicode;
    const std::pair<std::uint32_t, LinkText*> strings[] = {{LinkFlag::HasName, &link.name},
                                                           {LinkFlag::HasRelativePath, &link.relativePath},
                                                           {LinkFlag::HasWorkingDir, &link.workingDir},
                                                           {LinkFlag::HasArguments, &link.arguments},
                                                           {LinkFlag::HasIconLocation, &link.iconLocation}};
    // Damaged string data does not spoil the link info before it: reading just stops there.
    for (const auto& [flag, text] : strings) {
        if ((link.flags & flag) && !readStringData(r, pos, unicode, *text)) {
            *text = LinkText{};
            return link;
        }
    }
    readExtraData(r, pos, link);
    return link;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else if (b >= 0xC2 && b <= 0xF4) {
            len = b < 0xE0 ? 2 : (b < 0xF0 ? 3 : 4);
            if (i + len <= text.size()) {
                cp = b & (0xFF >> (len + 1));
                for (std::size_t k = 1; k < len; ++k) {
                    const auto c = static_cast<unsigned char>(text[i + k]);
                    if ((c & 0xC0) != 0x80) {
                        cp = 0xFFFD;
                        len = k;
                        break;
                    }
                    cp = cp << 6 | (c & 0x3F);
                }
            } else {
                len = 1;
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string linkTextUtf8(const LinkText& text, NarrowDecoder decode) {
    if (!text.present)
        return {};
    if (text.unicode)
        return utf16ToUtf8(text.wide);
    return decode ? decode(text.narrow) : text.narrow;
}

std::string shellLinkTargetPath(const ShellLinkInfo& link, NarrowDecoder decode) {
    const std::string suffix = linkTextUtf8(link.commonPathSuffix, decode);
    if (link.localBasePath.present)
        return linkTextUtf8(link.localBasePath, decode) + suffix;
    if (link.netName.present) {
        std::string net = linkTextUtf8(link.netName, decode);
        if (!suffix.empty() && (net.empty() || net.back() != '\\'))
            net += '\\';
        return net + suffix;
    }
    return {};
}

std::string buildShellLink(std::u16string_view target, std::u16string_view description,
                           std::u16string_view workingDir) {
    std::uint32_t flags = LinkFlag::HasLinkInfo | LinkFlag::IsUnicode;
    if (!description.empty())
        flags |= LinkFlag::HasName;
    if (!workingDir.empty())
        flags |= LinkFlag::HasWorkingDir;

    std::string out;
    put32(out, kHeaderSize);
    out.append(reinterpret_cast<const char*>(kLinkClsid.data()), kLinkClsid.size());
    put32(out, flags);
    put32(out, 0x20);     // FILE_ATTRIBUTE_ARCHIVE
    out.append(24, '\0'); // creation, access and write times
    put32(out, 0);        // file size
    put32(out, 0);        // icon index
    put32(out, 1);        // SW_SHOWNORMAL
    out.append(12, '\0'); // hot key and reserved fields

    // Link info: header of 0x24 bytes, a minimal volume ID, the ANSI base path (ASCII only or
    // empty), an empty ANSI suffix, then the Unicode base path and suffix.
    std::string ansi;
    for (char16_t c : target)
        ansi.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    const std::uint32_t volumeOffset = 0x24;
    const std::uint32_t volumeSize = 0x11;
    const std::uint32_t localOffset = volumeOffset + volumeSize;
    const std::uint32_t suffixOffset = localOffset + static_cast<std::uint32_t>(ansi.size()) + 1;
    const std::uint32_t localOffsetW = suffixOffset + 1;
    const std::uint32_t suffixOffsetW = localOffsetW + static_cast<std::uint32_t>(target.size() + 1) * 2;
    const std::uint32_t infoSize = suffixOffsetW + 2;
    put32(out, infoSize);
    put32(out, 0x24);
    put32(out, 0x1); // VolumeIDAndLocalBasePath
    put32(out, volumeOffset);
    put32(out, localOffset);
    put32(out, 0); // no network link
    put32(out, suffixOffset);
    put32(out, localOffsetW);
    put32(out, suffixOffsetW);
    put32(out, volumeSize);
    put32(out, 3); // DRIVE_FIXED
    put32(out, 0); // serial number
    put32(out, 0x10);
    out.push_back('\0'); // empty volume label
    out += ansi;
    out.push_back('\0');
    out.push_back('\0'); // empty suffix
    putWide(out, target, true);
    put16(out, 0); // empty Unicode suffix

    if (!description.empty()) {
        put16(out, static_cast<std::uint32_t>(description.size()));
        putWide(out, description, false);
    }
    if (!workingDir.empty()) {
        put16(out, static_cast<std::uint32_t>(workingDir.size()));
        putWide(out, workingDir, false);
    }
    put32(out, 0); // terminal block
    return out;
}

} // namespace vendle
