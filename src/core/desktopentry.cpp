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

} // namespace vendle
