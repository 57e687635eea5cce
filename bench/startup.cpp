// SPDX-License-Identifier: GPL-3.0-or-later
// The start of the real program with 100,000 entries, as a whole process on the offscreen
// platform: from the spawn to the first turn of its event loop, with the breakdown the program
// logs on "vendle.startup". Warm file cache with a target; with the cache dropped before each run
// where the machine allows it, reported without one.
#include "disktree.h"
#include "results.h"

#include <QTemporaryDir>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace vendle::bench {

namespace {

namespace fs = std::filesystem;

// The program's steps in the order it logs them, and what the time up to each one is spent on.
const std::array<std::pair<const char*, const char*>, 8> kSteps = {{
    {"main", "libraries"},
    {"toolkit", "toolkit"},
    {"settings", "settings"},
    {"window", "window and fonts"},
    {"load", "load"},
    {"view", "first view"},
    {"loop", "event loop"},
    {"checked", "presence check"},
}};

// A folder holding a copy of the program, its settings and the 100,000-entry data file; with
// `gone`, every hundredth document of it names a file that was deleted.
struct ProgramFolder {
    QTemporaryDir dir;
    std::string program;

    explicit ProgramFolder(bool gone = false) {
        const std::string root = dir.path().toStdString();
        program = root + "/vendle";
        fs::copy_file(VENDLE_PROGRAM, program);
        if (gone) {
            std::ifstream in(diskTree().dataFile, std::ios::binary);
            std::ofstream out(root + "/vendle.dat", std::ios::binary);
            std::string line;
            for (int i = 0; std::getline(in, line); ++i) {
                if (i % 100 == 0)
                    line.insert(line.find('\t'), ".gone");
                out << line << '\n';
            }
        } else {
            fs::copy_file(diskTree().dataFile, root + "/vendle.dat");
        }
        // Room for all 100,000 (the first look at the desktop's record trims to the limit).
        std::ofstream(root + "/vendle.ini")
            << "[%%% Application Infomation Section %%%]\r\nFirstKick=2026/01/01\r\n"
               "[VendleMainForm]\r\nDataMax=100000\r\nItems=100000\r\n";
        for (const char* sub : {"/run", "/data", "/config"})
            fs::create_directories(root + sub);
        ::chmod((root + "/run").c_str(), 0700);
    }
};

// Step name -> nanoseconds after the spawn, for one start; empty when it failed.
using Steps = std::map<std::string, double>;

// The program's environment in `folder`: offscreen, its own XDG folders, logging its start, on the
// session bus at `bus` (none when empty).
std::vector<std::string> environmentOf(const ProgramFolder& folder, const std::string& bus = {}) {
    const std::string root = folder.dir.path().toStdString();
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view v(*e);
        if (!v.starts_with("QT_") && !v.starts_with("XDG_") && !v.starts_with("LANG=") &&
            !v.starts_with("LC_") && !v.starts_with("DBUS_SESSION_BUS_ADDRESS="))
            env.emplace_back(v);
    }
    env.insert(env.end(), {"QT_QPA_PLATFORM=offscreen", "QT_LOGGING_RULES=vendle.startup=true",
                           "LANG=ja_JP.UTF-8", "XDG_RUNTIME_DIR=" + root + "/run",
                           "XDG_DATA_HOME=" + root + "/data", "XDG_CONFIG_HOME=" + root + "/config",
                           "DBUS_SESSION_BUS_ADDRESS=" + (bus.empty() ? std::string("disabled:") : bus)});
    return env;
}

// Follows the start up to the step `until`; with `running`, the program is left running there and
// its process id stored.
Steps startOnce(const ProgramFolder& folder, std::string& error, const std::string& until = "loop",
                const std::string& bus = {}, pid_t* running = nullptr) {
    int out[2];
    if (::pipe(out) != 0) {
        error = std::strerror(errno);
        return {};
    }
    std::vector<std::string> env = environmentOf(folder, bus);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = folder.program;
    char* argv[] = {program.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = 0;
    const auto t0 = Clock::now();
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        error = std::strerror(spawned);
        return {};
    }
    const double spawnNs = static_cast<double>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(t0.time_since_epoch()).count());

    Steps steps;
    std::string buffer;
    char chunk[4096];
    bool done = false;
    while (!done) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 30'000) <= 0) {
            error = "no answer within 30 s";
            break;
        }
        const ssize_t n = ::read(out[0], chunk, sizeof chunk);
        if (n <= 0) {
            error = "the program ended before it logged " + until;
            break;
        }
        buffer.append(chunk, static_cast<std::size_t>(n));
        std::size_t eol;
        while (!done && (eol = buffer.find('\n')) != std::string::npos) {
            const std::string line = buffer.substr(0, eol);
            buffer.erase(0, eol + 1);
            constexpr std::string_view prefix = "vendle.startup: ";
            if (!line.starts_with(prefix))
                continue;
            const std::size_t space = line.find(' ', prefix.size());
            if (space == std::string::npos)
                continue;
            const std::string step = line.substr(prefix.size(), space - prefix.size());
            steps[step] = (std::stod(line.substr(space + 1)) - spawnNs) / 1e6;
            done = step == until;
        }
    }
    if (running && done) {
        *running = pid; // its log pipe stays open (a closed one would end it): closed when it is killed
        return steps;
    }
    ::kill(pid, SIGKILL); // the measurement ends at the loop; nothing needs saving
    ::waitpid(pid, nullptr, 0);
    ::close(out[0]);
    if (!done)
        return {};
    return steps;
}

// Drops the system's file cache; false (with the reason) where the machine does not allow it.
bool dropFileCache(std::string& why) {
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    if (!drop || !(drop << "3\n") || !drop.flush()) {
        why = "the file cache cannot be dropped here (needs write access to /proc/sys/vm/drop_caches)";
        return false;
    }
    return true;
}

void measureStarts(benchmark::State& state, const std::string& name, bool cold, double maxMs,
                   const std::string& until = "loop") {
    ProgramFolder folder(until == "checked");
    std::string error;
    Result row{name, {}, {}, 0, maxMs, {}, false};
    std::map<std::string, Samples> parts;
    if (!cold)
        startOnce(folder, error, until); // the first start fills the cache
    for (auto _ : state) {
        if (cold && !dropFileCache(error)) {
            row.note = "not measured: " + error;
            state.SetIterationTime(0.001);
            continue;
        }
        const Steps steps = startOnce(folder, error, until);
        if (steps.empty()) {
            row.failed = true;
            row.note = error;
            state.SetIterationTime(0.001);
            continue;
        }
        double before = 0;
        for (const auto& [step, what] : kSteps) {
            const auto at = steps.find(step);
            if (at == steps.end())
                continue; // a step the program did not log: its time goes to the next
            parts[what].ms.push_back(at->second - before);
            before = at->second;
        }
        row.measured.ms.push_back(before);
        state.SetIterationTime(before / 1000.0);
    }
    if (!row.measured.empty()) {
        row.note = "(median ms:";
        for (const auto& [step, what] : kSteps) {
            if (parts[what].empty())
                continue;
            char part[64];
            std::snprintf(part, sizeof part, " %s %.0f,", what, parts[what].median());
            row.note += part;
        }
        row.note.back() = ')';
    } else if (row.note.empty()) {
        row.note = "no start was measured";
    }
    record(state, std::move(row));
}

void BM_StartWarm(benchmark::State& state) {
    measureStarts(state, "start-up to an answering event loop, 100k, warm cache", false, 150);
}
BENCHMARK(BM_StartWarm)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_StartCold(benchmark::State& state) {
    measureStarts(state, "start-up to an answering event loop, 100k, file cache dropped", true, 300);
}
BENCHMARK(BM_StartCold)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_GoneOutCold(benchmark::State& state) {
    measureStarts(state, "start-up to 1,000 gone documents out of the view, 100k, file cache dropped", true,
                  1500, "checked");
}
BENCHMARK(BM_GoneOutCold)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Runs the program with `args` to its end, its output discarded; milliseconds, or -1 when it
// failed.
double runToEnd(const ProgramFolder& folder, const std::vector<std::string>& args, const std::string& bus) {
    std::vector<std::string> env = environmentOf(folder, bus);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> words = {folder.program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const auto t0 = Clock::now();
    const int spawned =
        posix_spawn(&pid, folder.program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double ms = msSince(t0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

// A session bus of the benchmark's own, ended with it.
struct PrivateBus {
    std::string address;
    pid_t pid = 0;
    PrivateBus() {
        FILE* out = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
        if (!out)
            return;
        char line[512];
        if (std::fgets(line, sizeof line, out))
            address = std::string(line).substr(0, std::strcspn(line, "\n"));
        if (std::fgets(line, sizeof line, out))
            pid = static_cast<pid_t>(std::atol(line));
        ::pclose(out);
    }
    ~PrivateBus() {
        if (pid > 0)
            ::kill(pid, SIGTERM);
    }
};

void measureList(benchmark::State& state, const std::string& name, bool withRunningCopy, double maxMs) {
    ProgramFolder folder;
    Result row{name, {}, {}, 0, maxMs, {}, false};
    PrivateBus bus;
    pid_t running = 0;
    if (withRunningCopy) {
        std::string error;
        if (bus.address.empty())
            row.note = "not measured: no dbus-daemon";
        else if (startOnce(folder, error, "loop", bus.address, &running).empty())
            row.note = "not measured: the running copy did not start: " + error;
    }
    for (auto _ : state) {
        if (!row.note.empty()) {
            state.SetIterationTime(0.001);
            continue;
        }
        const double ms = runToEnd(folder, {"--list", "rep"}, withRunningCopy ? bus.address : std::string());
        if (ms < 0) {
            row.failed = true;
            row.note = "vendle --list failed";
            state.SetIterationTime(0.001);
            continue;
        }
        row.measured.ms.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    if (running > 0) {
        ::kill(running, SIGKILL);
        ::waitpid(running, nullptr, 0);
    }
    record(state, std::move(row));
}

void BM_ListFromFile(benchmark::State& state) {
    measureList(state, "vendle --list rep, 100k, no copy running (reads the data file)", false, 120);
}
BENCHMARK(BM_ListFromFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ListFromRunningCopy(benchmark::State& state) {
    measureList(state, "vendle --list rep, 100k, asking the running copy over D-Bus", true, 60);
}
BENCHMARK(BM_ListFromRunningCopy)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

} // namespace vendle::bench
