// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopentry.h"

namespace vendle {

std::string escapeDesktopValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case ' ':
            out += i == 0 ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string quoteExecArgument(std::string_view argument) {
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string body;
    for (char c : argument) {
        if (c == '%')
            body += "%%";
        else
            body += c;
    }
    if (!body.empty() && body.find_first_of(kReserved) == std::string::npos)
        return body;
    std::string quoted = "\"";
    for (char c : body) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string formatDesktopEntry(const DesktopApplicationEntry& entry) {
    std::string out = "[Desktop Entry]\nType=Application\n";
    out += "Name=" + escapeDesktopValue(entry.name) + "\n";
    out += "Comment=" + escapeDesktopValue(entry.comment) + "\n";
    // The Exec value is a string value too, so the quoting backslashes are escaped once more.
    out += "Exec=" + escapeDesktopValue(quoteExecArgument(entry.exec)) + "\n";
    if (!entry.workingDir.empty())
        out += "Path=" + escapeDesktopValue(entry.workingDir) + "\n";
    return out;
}

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char a = (text[i] >= 'A' && text[i] <= 'Z') ? static_cast<char>(text[i] + 32) : text[i];
        if (a != prefix[i])
            return false;
    }
    return true;
}

// Undoes the escapes of a string value (\s, \n, \t, \r, \\).
std::string unescapeValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            out += value[i];
        }
    }
    return out;
}

std::string expandHome(std::string_view value, std::string_view home) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '$') {
            out += value[i];
            continue;
        }
        const std::string_view rest = value.substr(i + 1);
        if (rest.substr(0, 1) == "$") {
            out += '$';
            ++i;
        } else if (rest.substr(0, 4) == "HOME") {
            out += home;
            i += 4;
        } else if (rest.substr(0, 6) == "{HOME}") {
            out += home;
            i += 6;
        } else {
            out += '$';
        }
    }
    return out;
}

} // namespace

UriPath fileUriToPath(std::string_view uri) {
    UriPath result;
    if (!startsWithNoCase(uri, "file:"))
        return result;
    std::string_view rest = uri.substr(5);
    if (rest.substr(0, 2) == "//") {
        // An authority: empty or "localhost" is this machine, anything else another host.
        rest.remove_prefix(2);
        if (startsWithNoCase(rest, "localhost/"))
            rest.remove_prefix(9);
        if (rest.empty() || rest.front() != '/')
            return result;
    } else if (rest.empty() || rest.front() != '/') {
        result.status = UriPath::Status::Undecodable; // "file:relative"
        return result;
    }
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '#' || rest[i] == '\0') {
            result.status = UriPath::Status::Undecodable;
            return result;
        }
        if (rest[i] != '%') {
            path += rest[i];
            continue;
        }
        const bool complete = i + 2 < rest.size();
        const int hi = complete ? hexValue(rest[i + 1]) : -1;
        const int lo = complete ? hexValue(rest[i + 2]) : -1;
        // A NUL cannot stand in a path, and an escaped "/" would join two names into one.
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0) || (hi == 2 && lo == 15)) {
            result.status = UriPath::Status::Undecodable;
            return result;
        }
        path += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    result.status = UriPath::Status::Ok;
    result.path = std::move(path);
    return result;
}

namespace {

// Calls `take(key, value)` for each key of the "[Desktop Entry]" group, the value as written.
template <typename Take> void forEachEntryKey(std::string_view fileText, Take take) {
    bool inEntry = false;
    std::size_t pos = 0;
    while (pos <= fileText.size()) {
        std::size_t end = fileText.find('\n', pos);
        if (end == std::string_view::npos)
            end = fileText.size();
        std::string_view line = fileText.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        std::string_view key = line.substr(0, eq);
        while (!key.empty() && key.back() == ' ')
            key.remove_suffix(1);
        std::string_view value = line.substr(eq + 1);
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        take(key, value);
    }
}

} // namespace

std::optional<std::string> desktopEntryProgram(std::string_view fileText) {
    std::string exec;
    forEachEntryKey(fileText, [&](std::string_view key, std::string_view value) {
        if (key == "Exec")
            exec = unescapeValue(value);
    });
    std::size_t i = 0;
    while (i < exec.size() && exec[i] == ' ')
        ++i;
    if (i == exec.size())
        return std::nullopt;
    std::string program;
    if (exec[i] != '"') {
        const std::size_t end = exec.find(' ', i);
        program = exec.substr(i, end == std::string::npos ? std::string::npos : end - i);
    } else {
        for (++i;; ++i) {
            if (i >= exec.size())
                return std::nullopt; // no closing quote
            if (exec[i] == '"')
                break;
            if (exec[i] == '\\' && i + 1 < exec.size() &&
                std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos)
                ++i;
            program += exec[i];
        }
    }
    // "%%" is a literal "%" in Exec.
    std::string out;
    for (std::size_t k = 0; k < program.size(); ++k) {
        out += program[k];
        if (program[k] == '%' && k + 1 < program.size() && program[k + 1] == '%')
            ++k;
    }
    return out;
}

UriPath desktopLinkTarget(std::string_view fileText, std::string_view home) {
    bool isLink = false;
    std::string url;
    bool expand = false;
    forEachEntryKey(fileText, [&](std::string_view key, std::string_view value) {
        if (key == "Type")
            isLink = value == "Link";
        else if (key == "URL" && !expand)
            url = unescapeValue(value);
        else if (key == "URL[$e]") {
            url = unescapeValue(value);
            expand = true;
        }
    });
    if (!isLink || url.empty())
        return {};
    if (expand)
        url = expandHome(url, home);
    if (url.front() == '/') {
        // A plain path; one with a NUL would name another file than it shows.
        if (url.find('\0') != std::string::npos)
            return {UriPath::Status::Undecodable, {}};
        return {UriPath::Status::Ok, url};
    }
    return fileUriToPath(url);
}

} // namespace vendle
