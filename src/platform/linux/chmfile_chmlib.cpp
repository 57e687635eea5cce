// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/chmfile.h"

#include "boundedread.h"
#include "core/chmheader.h"
#include "core/filelimits.h"
#include "glibutil.h"
#include "platform/logging.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <chm_lib.h>

namespace vendle::platform {

namespace {

// No page, picture or style sheet of a help file comes near this; a larger length is damage.
constexpr LONGUINT64 kMaxObject = 16 * 1024 * 1024;

class ChmLibFile final : public ChmFile {
public:
    explicit ChmLibFile(chmFile* handle) : handle_(handle) {}
    ~ChmLibFile() override { chm_close(handle_); }
    ChmLibFile(const ChmLibFile&) = delete;
    ChmLibFile& operator=(const ChmLibFile&) = delete;

    std::optional<std::string> read(const std::string& path) override {
        chmUnitInfo ui{};
        if (path.empty() || path.size() >= sizeof ui.path ||
            chm_resolve_object(handle_, path.c_str(), &ui) != CHM_RESOLVE_SUCCESS)
            return std::nullopt;
        if (ui.length > kMaxObject) {
            qCWarning(lcUi) << "help object too large:" << path.c_str();
            return std::nullopt;
        }
        std::string bytes(static_cast<std::size_t>(ui.length), '\0');
        if (ui.length == 0)
            return bytes;
        const LONGINT64 got =
            chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                static_cast<LONGINT64>(ui.length));
        if (got != static_cast<LONGINT64>(ui.length)) {
            qCWarning(lcUi) << "help object cannot be read whole:" << path.c_str();
            return std::nullopt;
        }
        return bytes;
    }

private:
    chmFile* handle_;
};

// The checking program: beside this one, one folder up (the build tree's tests and benchmark), or
// in the installed libexec folder beside the program's bin folder.
std::string helperPath() {
    const GCharPtr self(g_file_read_link("/proc/self/exe", nullptr));
    if (!self)
        return {};
    const GCharPtr dir(g_path_get_dirname(self.get()));
    for (const char* relative :
         {"/vendle-helpcheck", "/../vendle-helpcheck", "/../libexec/vendle/vendle-helpcheck"}) {
        std::string candidate = std::string(dir.get()) + relative;
        if (g_file_test(candidate.c_str(), G_FILE_TEST_IS_EXECUTABLE))
            return candidate;
    }
    return {};
}

// Reads every object of the file once, in a process of its own started afresh (vendle-helpcheck):
// the reader has faults of its own (divisions by zero, huge allocations) that a damaged file sets
// off. Only a file that process read whole, within ten seconds, is opened.
class HelperCheck final : public ChmCheck {
public:
    explicit HelperCheck(GPid child) : child_(child), started_(g_get_monotonic_time()) {}
    ~HelperCheck() override {
        if (!answer_)
            stop();
    }
    HelperCheck(const HelperCheck&) = delete;
    HelperCheck& operator=(const HelperCheck&) = delete;

    std::optional<bool> result() override {
        if (answer_)
            return answer_;
        int status = 0;
        pid_t done = 0;
        do
            done = ::waitpid(child_, &status, WNOHANG);
        while (done < 0 && errno == EINTR);
        if (done == child_) {
            answer_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            if (!*answer_)
                qCWarning(lcUi) << "a damaged help file: its check failed";
        } else if (done < 0)
            answer_ = false;
        else if (g_get_monotonic_time() - started_ > kGiveUpAfterUs) { // caught in a loop
            qCWarning(lcUi) << "the help file's check took too long";
            stop();
            answer_ = false;
        }
        return answer_;
    }

private:
    static constexpr gint64 kGiveUpAfterUs = 10'000'000;

    void stop() {
        ::kill(child_, SIGKILL);
        int status = 0;
        while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
        }
    }

    GPid child_;
    gint64 started_;
    std::optional<bool> answer_;
};

} // namespace

std::unique_ptr<ChmCheck> ChmCheck::start(const std::string& path) {
    // The reader trusts the sizes the headers declare: they are checked first.
    std::string why;
    const std::optional<std::string> bytes = readBounded(path, kHelpFileLimit, &why);
    if (!bytes) {
        qCWarning(lcUi) << "no help file:" << path.c_str() << why.c_str();
        return nullptr;
    }
    if (!plausibleChmHeader(*bytes)) {
        qCWarning(lcUi) << "not a help file:" << path.c_str();
        return nullptr;
    }
    const std::string helper = helperPath();
    if (helper.empty()) {
        qCWarning(lcUi) << "vendle-helpcheck is missing: help files are not opened";
        return nullptr;
    }
    std::vector<gchar*> argv{const_cast<gchar*>(helper.c_str()), const_cast<gchar*>(path.c_str()), nullptr};
    GPid child = 0;
    GError* raw = nullptr;
    if (!g_spawn_async(
            nullptr, argv.data(), nullptr,
            GSpawnFlags(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
            nullptr, nullptr, &child, &raw)) {
        qCWarning(lcUi) << "cannot start vendle-helpcheck:" << messageOf(GErrorPtr(raw)).c_str();
        return nullptr;
    }
    return std::make_unique<HelperCheck>(child);
}

std::unique_ptr<ChmFile> ChmFile::open(const std::string& path) {
    const std::unique_ptr<ChmCheck> check = ChmCheck::start(path);
    if (!check)
        return nullptr;
    std::optional<bool> passed;
    while (!(passed = check->result()))
        g_usleep(5'000);
    return *passed ? openChecked(path) : nullptr;
}

std::unique_ptr<ChmFile> ChmFile::openChecked(const std::string& path) {
    chmFile* handle = chm_open(path.c_str());
    if (!handle) {
        qCWarning(lcUi) << "not a help file:" << path.c_str();
        return nullptr;
    }
    return std::make_unique<ChmLibFile>(handle);
}

} // namespace vendle::platform
