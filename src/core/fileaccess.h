// SPDX-License-Identifier: GPL-3.0-or-later
// The file operations the history and settings files need, as an interface the platform layer
// implements, so that the core reads and writes bytes without touching the file system itself.
#pragma once

#include "errors.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendle {

// A file could not be read or written; the message is ready to show to the user.
class IoError : public Error {
public:
    using Error::Error;
};

// Receives a file's bytes piece by piece, so that a large file never has to exist in memory whole.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void append(std::string_view bytes) = 0;

    // Takes a whole piece; `piece` comes back empty, possibly with another buffer's capacity. A
    // sink that writes in the background keeps the piece instead of copying it.
    virtual void appendPiece(std::string& piece) {
        append(piece);
        piece.clear();
    }
};

// Collects the bytes in memory.
class StringSink final : public ByteSink {
public:
    std::string bytes;
    void append(std::string_view more) override { bytes.append(more); }
};

// Produces a file's bytes into the sink it is given.
using ByteWriter = std::function<void(ByteSink&)>;

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // True when something exists at the path (file or folder).
    virtual bool exists(const std::string& path) = 0;

    // True when the path names an existing file; a folder does not count.
    virtual bool isExistingFile(const std::string& path) = 0;

    // Whether a remembered document is there: a file, gone for good, or out of reach for now (its
    // removable volume or network share is not mounted, or does not answer).
    enum class Presence { File, Gone, Unavailable };
    virtual Presence presence(const std::string& path) {
        return isExistingFile(path) ? Presence::File : Presence::Gone;
    }

    // The presence of each path, in their order. The platform may ask the disk about several of
    // them side by side; the answers are those presence() gives.
    virtual std::vector<Presence> presenceOfEach(const std::vector<std::string_view>& paths) {
        std::vector<Presence> answers;
        answers.reserve(paths.size());
        for (const std::string_view path : paths)
            answers.push_back(presence(std::string(path)));
        return answers;
    }

    // The whole file, or nullopt when it cannot be opened or read, is no regular file, or holds
    // more than `limit` bytes. Never waits for a writer (a FIFO in a file's place is refused).
    virtual std::optional<std::string> readAll(const std::string& path, std::size_t limit) = 0;

    // Replaces the file with the bytes `write` produces, so that a crash, a full disk or an
    // exception thrown by `write` leaves either the old file or the new one, never a mixture.
    // Throws IoError, or passes on what `write` threw.
    virtual void writeAtomicallyFrom(const std::string& path, const ByteWriter& write) = 0;

    // Removes what a write killed midway left beside `path` (temporary files of this file's own
    // naming); called at start, when no write of this program runs.
    virtual void removeStaleTemporaries(const std::string& path) { (void)path; }

    // The same for bytes at hand.
    void writeAtomically(const std::string& path, std::string_view bytes) {
        writeAtomicallyFrom(path, [bytes](ByteSink& sink) { sink.append(bytes); });
    }
};

} // namespace vendle
