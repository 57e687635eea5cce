#include "platform/fileaccess.h"

#include "mountinfo.h"
#include "platform/system.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vendle::platform {

namespace {

constexpr long kBtrfsMagic = 0x9123683E;

IoError writeError(const std::string& path, int code) {
    return IoError("ファイル「" + path + "」に書き込めませんでした。\n" + SystemErrorText(code));
}

// The temporary file beside the target: closed and removed unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) : path_(target + ".XXXXXX") {
        fd_ = g_mkstemp_full(path_.data(), O_WRONLY | O_CLOEXEC, 0666);
        error_ = fd_ < 0 ? errno : 0;
        created_ = fd_ >= 0;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (created_ && !renamed_)
            ::unlink(path_.c_str());
    }

    bool created() const { return created_; }
    int creationError() const { return error_; }
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }

    // Closing reports errors that some file systems hold back until then.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void markRenamed() { renamed_ = true; }

private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
    bool created_ = false;
    bool renamed_ = false;
};

// Writes the pieces on a thread of its own, so that producing the text and writing it to the file
// overlap. When the file is to be flushed at the end, the disk is set to work on every megabyte as
// soon as it is written, so that the final flush waits only for the last of it.
class FileSink final : public ByteSink {
public:
    FileSink(int fd, const std::string& target, bool startWriteback)
        : fd_(fd), target_(target), startWriteback_(startWriteback) {}
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;
    ~FileSink() override {
        // Left without finish(): the producer failed, and what is still queued is not wanted.
        {
            std::lock_guard lock(mutex_);
            queue_.clear();
        }
        stop();
    }

    void append(std::string_view bytes) override {
        // Bytes at hand are written at once while no piece is on its way; a copy would cost more
        // than the overlap gains.
        if (!thread_.joinable()) {
            if (const int error = writeAll(bytes); error != 0)
                throw writeError(target_, error);
            return;
        }
        std::string piece = takeBuffer();
        piece.assign(bytes);
        handOver(piece);
    }

    void appendPiece(std::string& piece) override {
        std::string empty = takeBuffer();
        piece.swap(empty);
        handOver(empty);
    }

    // Waits until every piece is written; throws IoError when a write failed.
    void finish() {
        stop();
        if (error_ != 0)
            throw writeError(target_, error_);
    }

private:
    static constexpr std::size_t kMaxQueued = 4;
    static constexpr std::uint64_t kWritebackStep = 1024 * 1024;

    std::string takeBuffer() {
        std::lock_guard lock(mutex_);
        if (spare_.empty())
            return {};
        std::string buffer = std::move(spare_.back());
        spare_.pop_back();
        return buffer;
    }

    void handOver(std::string& piece) {
        if (piece.empty())
            return;
        std::unique_lock lock(mutex_);
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
        changed_.wait(lock, [this] { return queue_.size() < kMaxQueued || error_ != 0; });
        // A full disk ends the work at once instead of after the whole text was produced.
        if (error_ != 0)
            throw writeError(target_, error_);
        queue_.push_back(std::move(piece));
        changed_.notify_all();
    }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            ending_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return !queue_.empty() || ending_; });
            if (queue_.empty())
                return;
            std::string piece = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            const int error = writeAll(piece);
            piece.clear();
            lock.lock();
            spare_.push_back(std::move(piece));
            if (error != 0 && error_ == 0) {
                error_ = error;
                queue_.clear();
            }
            changed_.notify_all();
        }
    }

    // Runs on the writing thread once it exists; returns errno or 0.
    int writeAll(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
            written_ += static_cast<std::uint64_t>(n);
        }
        if (startWriteback_ && written_ - started_ >= kWritebackStep) {
            ::sync_file_range(fd_, static_cast<off_t>(started_), static_cast<off_t>(written_ - started_),
                              SYNC_FILE_RANGE_WRITE);
            started_ = written_;
        }
        return 0;
    }

    const int fd_;
    const std::string& target_;
    const bool startWriteback_;
    std::uint64_t written_ = 0; // written and started_ belong to the writing thread
    std::uint64_t started_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    std::vector<std::string> spare_;
    bool ending_ = false;
    int error_ = 0;
    std::thread thread_;
};

// Whether the new file must reach the disk before it replaces the target. Not when there is no
// old contents to lose, and not where the file system itself commits a renamed file's data before
// the rename: there the old or the new file survives a crash without waiting for the disk.
bool needsFlush(int fd, const std::string& target) {
    GStatBuf old;
    if (g_stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode) || old.st_size == 0)
        return false;
    struct statfs fs {};
    if (::fstatfs(fd, &fs) == 0 && static_cast<long>(fs.f_type) == kBtrfsMagic)
        return false;
    struct stat own {};
    if (::fstat(fd, &own) != 0)
        return true;
    gchar* text = nullptr;
    gsize length = 0;
    if (!g_file_get_contents("/proc/self/mountinfo", &text, &length, nullptr))
        return true;
    std::unique_ptr<gchar, decltype(&g_free)> owned(text, g_free);
    return !linux_fs::renameCommitsDataFirst(std::string_view(text, length), major(own.st_dev),
                                             minor(own.st_dev));
}

} // namespace

bool SystemFileAccess::exists(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0;
}

bool SystemFileAccess::isExistingFile(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> SystemFileAccess::readAll(const std::string& path) {
    gchar* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr))
        return std::nullopt;
    std::unique_ptr<gchar, decltype(&g_free)> owned(contents, g_free);
    return std::string(contents, length);
}

void SystemFileAccess::writeAtomicallyFrom(const std::string& path, const ByteWriter& write) {
    TemporaryFile temp(path);
    if (!temp.created())
        throw writeError(path, temp.creationError());
    const bool flush = needsFlush(temp.fd(), path);
    FileSink sink(temp.fd(), path, flush);
    write(sink);
    sink.finish();
    if (flush && ::fsync(temp.fd()) != 0)
        throw writeError(path, errno);
    if (!temp.close())
        throw writeError(path, errno);
    if (::rename(temp.path().c_str(), path.c_str()) != 0)
        throw writeError(path, errno);
    temp.markRenamed();
}

} // namespace vendle::platform
