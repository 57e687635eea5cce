// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop entry files (the freedesktop ".desktop" format): escaping of values and of the Exec
// key's arguments, and the text of an application entry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendle {

// Escapes a string value: backslash, line feed, carriage return and tab become \\, \n, \r, \t;
// a leading blank becomes \s.
std::string escapeDesktopValue(std::string_view value);

// One Exec argument: quoted in double quotes when it holds a blank or a reserved character, with
// ", `, $ and \ escaped inside the quotes; "%" doubled so it is no field code.
std::string quoteExecArgument(std::string_view argument);

struct DesktopApplicationEntry {
    std::string name;
    std::string comment;
    std::string exec;       // the program's absolute path
    std::string workingDir; // Path=
};

// "[Desktop Entry]" with Type=Application and the entry's keys, LF line ends.
std::string formatDesktopEntry(const DesktopApplicationEntry& entry);

// The program an application entry starts: the first argument of its Exec key, unquoted; nothing
// when the entry has no Exec or its quoting is broken.
std::optional<std::string> desktopEntryProgram(std::string_view fileText);

// A file URI as a local path.
struct UriPath {
    enum class Status { NotLocal, Ok, Undecodable };
    Status status = Status::NotLocal;
    std::string path;
};

// "file:///p", "file://localhost/p" or "file:/p" with %XX escapes decoded. Other schemes and remote hosts are
// NotLocal; a broken escape, an escaped or raw NUL, an escaped "/", a "#" or a relative path is
// Undecodable. It reads local URIs as GLib's g_filename_from_uri does (the decoder desktop writers
// pair with), so that a recorded document is found under the same path they meant.
UriPath fileUriToPath(std::string_view uri);

// The target of a desktop link file (a "[Desktop Entry]" of Type=Link): its URL as a local path.
// $HOME (or ${HOME}) in a URL[$e] value becomes `home`, and "$$" a single "$". Anything that is
// not a link to a local file is NotLocal.
UriPath desktopLinkTarget(std::string_view fileText, std::string_view home);

} // namespace vendle
