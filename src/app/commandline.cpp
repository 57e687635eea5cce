// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include <charconv>
#include <optional>
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
           "       vendle --list [--long | --json] [-0] [--days N] [--type EXT] [--folder DIR] [WORD...]\n"
           "       vendle --add FILE...\n"
           "Keeps a long history of the documents you open: runs in the notification area, watches\n"
           "the desktop's record of recently used documents and shows the history in a window.\n"
           "A second start brings the running copy's window forward.\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and the licence and exit\n"
           "  --list         print the documents whose path holds every WORD, newest first, one a\n"
           "                 line; asks the running copy, or reads the history file without changing it\n"
           "    --long       time, TAB, whether the document is there (yes/no), TAB, path\n"
           "    --json       a JSON array of {\"path\", \"time\", \"available\"}\n"
           "    -0           end each path with a NUL byte instead of a line break\n"
           "    --days N     only documents used in the last N days (1: today)\n"
           "    --type EXT   only documents with that extension\n"
           "    --folder DIR only documents right in that folder\n"
           "  --add FILE...  record the files as used now, in the running copy's history\n"
           "\n"
           "Exit status: 0 when all went well, 1 when the program could not start or another copy\n"
           "did not answer, 2 for a wrong command line, 3 when --add finds no running copy, 70\n"
           "after a fault of the program.\n"
           "See vendle(1) for the files and the environment it uses.\n";
}

CommandLine refused(const std::string& why) {
    CommandLine line;
    line.action = CommandLine::Action::Refuse;
    line.message = "vendle: " + why + "\nTry 'vendle --help' for more information.\n";
    return line;
}

// The rest of a --list line.
CommandLine readList(int argc, const char* const* argv, int i) {
    CommandLine line;
    line.action = CommandLine::Action::List;
    const auto value = [&]() -> std::optional<std::string> {
        if (i + 1 >= argc || !argv[i + 1])
            return std::nullopt;
        return std::string(argv[++i]);
    };
    for (++i; i < argc; ++i) {
        const std::string_view arg = argv[i] ? argv[i] : "";
        if (arg == "--long") {
            line.form = CommandLine::Form::Long;
        } else if (arg == "--json") {
            line.form = CommandLine::Form::Json;
        } else if (arg == "-0") {
            line.nulSeparated = true;
        } else if (arg == "--days") {
            const std::optional<std::string> n = value();
            int days = 0;
            if (!n || std::from_chars(n->data(), n->data() + n->size(), days).ptr != n->data() + n->size() ||
                days < 1)
                return refused("--days takes a number of days from 1");
            line.days = days;
        } else if (arg == "--type" || arg == "--folder") {
            std::optional<std::string> v = value();
            if (!v || v->empty())
                return refused(std::string(arg) + " takes a value");
            if (arg == "--type")
                line.type = v->front() == '.' ? v->substr(1) : *v;
            else
                line.folder = std::move(*v);
        } else if (arg == "--") {
            for (++i; i < argc; ++i)
                line.words.emplace_back(argv[i] ? argv[i] : "");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return refused("unknown option '" + std::string(arg) + "' for --list");
        } else {
            line.words.emplace_back(arg);
        }
    }
    return line;
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
        if (arg == "-h" || arg == "--help" || arg == "-v" || arg == "--version") {
            const bool help = arg == "-h" || arg == "--help";
            line.action = help ? CommandLine::Action::Help : CommandLine::Action::Version;
            line.message = help ? helpText() : versionText(version);
            return line;
        }
        if (arg == "--list")
            return readList(argc, argv, i);
        if (arg == "--add") {
            line.action = CommandLine::Action::Add;
            for (++i; i < argc; ++i)
                line.words.emplace_back(argv[i] ? argv[i] : "");
            if (line.words.empty())
                return refused("--add takes the files to record");
            return line;
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
        return refused("unknown option '" + std::string(arg) + "'");
    }
    return line;
}

} // namespace vendle::app
