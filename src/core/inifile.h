// SPDX-License-Identifier: GPL-3.0-or-later
// An INI-format settings store held wholly in memory: case-insensitive section and key names,
// values verbatim after "=", in-place replacement, and CR LF output with an empty line after each
// section.
#pragma once

#include "datetimeformat.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vendle {

class MemIniFile {
public:
    MemIniFile() = default;

    // Replaces the store with the parsed text. Lines end at CR LF, CR or LF; empty lines and lines
    // starting with ";" are skipped; "[name]" opens a section; lines before the first section are
    // dropped.
    void parse(std::string_view text);

    // The whole store as file text.
    std::string serialize() const;

    bool SectionExists(std::string_view section) const;
    std::vector<std::string> SectionNames() const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Removes a section with all its keys; nothing happens when there is none.
    void EraseSection(std::string_view section);
    // Takes out the keys of the section that `matches` accepts (all their lines); a section left
    // without lines goes.
    void EraseKeys(std::string_view section, const std::function<bool(std::string_view key)>& matches);
    void DeleteKey(std::string_view section, std::string_view key);

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Decimal, or hexadecimal after "0x"; anything else gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    void WriteInteger(std::string_view section, std::string_view key, int value);

    // "1"/"0" on write; any non-zero integer reads as true, and so do "true", "yes" and "on" (in
    // any case); "false", "no" and "off" read as false.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Date-time text in the files' own form, or in the locale's (`fmt`, files of older versions);
    // unreadable text gives the default. Written in the files' own form only.
    DateTime ReadDateTime(std::string_view section, std::string_view key, DateTime def,
                          const DateTimeFormat& fmt) const;
    void WriteDateTime(std::string_view section, std::string_view key, DateTime value);

private:
    struct Entry {
        std::string key;
        std::string value;
        bool hasValue = true; // false for a line without "=", kept as it was
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // The first entry with a value for each key, by the key in lower case: a section of many
        // keys is read and written in time linear in its size.
        std::unordered_map<std::string, std::size_t> index;

        void add(Entry entry);
        Entry* find(std::string_view key);
    };

    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
    const std::string* findValue(std::string_view section, std::string_view key) const;

    std::vector<Section> sections_;
};

// Splits a comma list by the usual comma-text rules: items are separated by commas or blanks, an
// item in double quotes may hold both (a doubled quote stands for one), empty items between commas
// are kept.
std::vector<std::string> splitCommaText(std::string_view text);

} // namespace vendle
