// SPDX-License-Identifier: GPL-3.0-or-later
#include "inifile.h"

#include "errors.h"
#include "fulltime.h"
#include "text.h"

namespace vendle {

namespace {

bool sameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

std::string lowerKey(std::string_view key) {
    std::string lower(key);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return lower;
}

} // namespace

void MemIniFile::Section::add(Entry entry) {
    if (entry.hasValue)
        index.emplace(lowerKey(entry.key), entries.size()); // a later duplicate keeps the first
    entries.push_back(std::move(entry));
}

MemIniFile::Entry* MemIniFile::Section::find(std::string_view key) {
    const auto it = index.find(lowerKey(key));
    return it == index.end() ? nullptr : &entries[it->second];
}

void MemIniFile::parse(std::string_view text) {
    sections_.clear();
    Section* current = nullptr;
    forEachLine(text, [&](std::string_view line) {
        if (line.empty() || line.front() == ';')
            return;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections_.push_back(Section{std::string(line.substr(1, line.size() - 2)), {}, {}});
            current = &sections_.back();
            return;
        }
        if (!current)
            return;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            current->add(Entry{std::string(line), {}, false});
        else
            current->add(Entry{std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
    });
}

std::string MemIniFile::serialize() const {
    std::string out;
    for (const Section& s : sections_) {
        out.append("[").append(s.name).append("]\r\n");
        for (const Entry& e : s.entries) {
            out.append(e.key);
            if (e.hasValue)
                out.append("=").append(e.value);
            out.append("\r\n");
        }
        out.append("\r\n");
    }
    return out;
}

const MemIniFile::Section* MemIniFile::findSection(std::string_view name) const {
    for (const Section& s : sections_) {
        if (sameNameNoCase(s.name, name))
            return &s;
    }
    return nullptr;
}

MemIniFile::Section* MemIniFile::findSection(std::string_view name) {
    return const_cast<Section*>(static_cast<const MemIniFile*>(this)->findSection(name));
}

const std::string* MemIniFile::findValue(std::string_view section, std::string_view key) const {
    Section* s = const_cast<MemIniFile*>(this)->findSection(section);
    const Entry* e = s ? s->find(key) : nullptr;
    return e ? &e->value : nullptr;
}

bool MemIniFile::SectionExists(std::string_view section) const {
    return findSection(section) != nullptr;
}

bool MemIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return findValue(section, key) != nullptr;
}

std::string MemIniFile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
    const std::string* v = findValue(section, key);
    return v ? *v : std::string(def);
}

std::vector<std::string> MemIniFile::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& s : sections_)
        names.push_back(s.name);
    return names;
}

void MemIniFile::EraseSection(std::string_view section) {
    if (const Section* s = findSection(section))
        sections_.erase(sections_.begin() + (s - sections_.data()));
}

void MemIniFile::EraseKeys(std::string_view section,
                           const std::function<bool(std::string_view key)>& matches) {
    Section* s = findSection(section);
    if (!s)
        return;
    std::vector<Entry> kept;
    kept.reserve(s->entries.size());
    for (Entry& e : s->entries) {
        if (!e.hasValue || !matches(e.key))
            kept.push_back(std::move(e));
    }
    if (kept.empty()) {
        EraseSection(section);
        return;
    }
    s->entries.clear();
    s->index.clear();
    for (Entry& e : kept)
        s->add(std::move(e));
}

void MemIniFile::DeleteKey(std::string_view section, std::string_view key) {
    const std::string wanted = lowerKey(key);
    EraseKeys(section, [&](std::string_view k) { return lowerKey(k) == wanted; });
}

void MemIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = findSection(section);
    if (!s) {
        sections_.push_back(Section{std::string(section), {}, {}});
        s = &sections_.back();
    }
    if (Entry* e = s->find(key)) {
        e->value = std::string(value);
        return;
    }
    s->add(Entry{std::string(key), std::string(value)});
}

int MemIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const std::string* v = findValue(section, key);
    if (!v)
        return def;
    try {
        return StrToInt(*v);
    } catch (const ConvertError&) {
        return def;
    }
}

void MemIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

bool MemIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    const std::string* v = findValue(section, key);
    if (v) {
        std::string_view text = *v;
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        const std::string word = lowerKey(text);
        if (word == "true" || word == "yes" || word == "on")
            return true;
        if (word == "false" || word == "no" || word == "off")
            return false;
    }
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void MemIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

DateTime MemIniFile::ReadDateTime(std::string_view section, std::string_view key, DateTime def,
                                  const DateTimeFormat& fmt) const {
    const std::string* v = findValue(section, key);
    if (!v)
        return def;
    return readFileDateTime(*v, fmt).value_or(def);
}

void MemIniFile::WriteDateTime(std::string_view section, std::string_view key, DateTime value) {
    WriteString(section, key, DateTimeToStr(value, fileDateTimeFormat()));
}

std::vector<std::string> splitCommaText(std::string_view text) {
    std::vector<std::string> items;
    std::size_t i = 0;
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i >= text.size())
        return items;
    while (true) {
        std::string item;
        if (i < text.size() && text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && !isBlank(text[i]))
                item += text[i++];
        }
        items.push_back(std::move(item));
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i >= text.size())
            break;
        if (text[i] == ',') {
            ++i;
            while (i < text.size() && isBlank(text[i]))
                ++i;
            if (i >= text.size()) {
                items.emplace_back(); // a trailing comma leaves an empty last item
                break;
            }
        }
    }
    return items;
}

} // namespace vendle
