// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include <string_view>

namespace vendle::app {

namespace {

// Options of the toolkit that take a value, and those that do not.
constexpr std::string_view kToolkitWithValue[] = {
    "-platform",   "-platformpluginpath", "-platformtheme", "-plugin",      "-display", "-style",
    "-stylesheet", "-qwindowgeometry",    "-qwindowtitle",  "-qwindowicon", "-session", "-name",
    "-title"};
constexpr std::string_view kToolkitFlags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

std::string helpText() {
    return "Usage: vendle [OPTION]\n"
           "Keeps a long history of the documents you open: runs in the notification area, watches\n"
           "the desktop's record of recently used documents and shows the history in a window.\n"
           "A second start brings the running copy's window forward.\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and the licence and exit\n"
           "\n"
           "Exit status: 0 when all went well, 1 when the program could not start or another copy\n"
           "did not answer, 2 for a wrong command line, 70 after a fault of the program.\n"
           "See vendle(1) for the files and the environment it uses.\n";
}

std::string versionText(const std::array<std::uint16_t, 4>& v) {
    return "Vendle " + std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
           std::to_string(v[3]) +
           "\n"
           "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

bool isOneOf(std::string_view arg, const auto& list) {
    for (const std::string_view name : list) {
        if (arg == name ||
            (arg.size() > name.size() + 1 && arg.substr(0, name.size() + 1) == std::string(name) + "="))
            return true;
    }
    return false;
}

} // namespace

CommandLine readCommandLine(int argc, const char* const* argv, const std::array<std::uint16_t, 4>& version) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] ? argv[i] : "";
        if (arg == "-h" || arg == "--help") {
            return {CommandLine::Action::Help, helpText()};
        }
        if (arg == "-v" || arg == "--version") {
            return {CommandLine::Action::Version, versionText(version)};
        }
        if (isOneOf(arg, kToolkitWithValue)) {
            if (arg.find('=') == std::string_view::npos)
                ++i; // its value
            continue;
        }
        if (isOneOf(arg, kToolkitFlags))
            continue;
        // A document given as an argument (the desktop's record names this program as the one
        // that used a document, "vendle %u") starts or brings forward the program as before.
        if (arg.size() < 2 || arg[0] != '-')
            continue;
        line = {CommandLine::Action::Refuse, "vendle: unknown option '" + std::string(arg) +
                                                 "'\nTry 'vendle --help' for more information.\n"};
        return line;
    }
    return line;
}

} // namespace vendle::app
