// SPDX-License-Identifier: GPL-3.0-or-later
// The program's settings file: the in-memory INI store loaded at start and written atomically
// whenever something changed and at the exit, plus the start bookkeeping of the application
// information section (first start, start count, total running time).
#pragma once

#include "fileaccess.h"
#include "inifile.h"
#include "mainsettings.h"

#include <functional>
#include <optional>
#include <string>

namespace vendle {

class TIniFileEx : public MemIniFile {
public:
    using Clock = std::function<DateTime()>;
    using ErrorReporter = std::function<void(const std::string& message)>;

    // Loads the file (a missing one gives an empty store) and runs the start bookkeeping in memory.
    // A file that exists but cannot be read gives an empty store too, and is never written over.
    TIniFileEx(std::string fileName, FileAccess& files, DateTimeFormat fmt, Clock clock = now);

    // Stores the total running time and writes the file; true when it was written. A failure is
    // handed to the error reporter and leaves the old file as it was. An unreadable file is not
    // written at all. A file that had content but no section of this program's is first copied
    // to "<file>.bak" (private), once.
    bool UpdateFile();

    // The file exists but could not be read: it is kept as it is.
    bool unreadable() const { return unreadable_; }

    TIniFileEx(const TIniFileEx&) = delete;
    TIniFileEx& operator=(const TIniFileEx&) = delete;

    bool IsFirstKick() const { return isFirstKick_; }
    int ExecCount() const { return execCount_; }
    DateTime StartTime() const { return startTime_; }
    const std::string& fileName() const { return fileName_; }

    // The stored total of earlier runs (as read at the start: the file may be written several
    // times a run) plus the time since this run started. A stored total that cannot be read
    // counts as zero.
    DateTime GetTotalExecTime() const;

    // Date-time texts follow these patterns from now on (the user changed the locale).
    void setDateTimeFormat(const DateTimeFormat& fmt) { fmt_ = fmt; }
    const DateTimeFormat& dateTimeFormat() const { return fmt_; }

    void setErrorReporter(ErrorReporter reporter) { reportError_ = std::move(reporter); }

    DateTime ReadDateTime(std::string_view section, std::string_view key, DateTime def) const {
        return MemIniFile::ReadDateTime(section, key, def, fmt_);
    }
    void WriteDateTime(std::string_view section, std::string_view key, DateTime value) {
        MemIniFile::WriteDateTime(section, key, value);
    }

private:
    void startBookkeeping();

    std::string fileName_;
    FileAccess& files_;
    DateTimeFormat fmt_;
    Clock clock_;
    ErrorReporter reportError_;
    bool isFirstKick_ = false;
    bool unreadable_ = false;
    std::optional<std::string> foreign_; // content the file had without a section of ours
    int execCount_ = 0;
    DateTime startTime_ = 0;
    DateTime earlierRuns_ = 0; // the total running time stored when this run started
};

} // namespace vendle
