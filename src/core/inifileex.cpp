// SPDX-License-Identifier: GPL-3.0-or-later
#include "inifileex.h"
#include "core/texts.h"

#include "filelimits.h"
#include "fulltime.h"
#include "log.h"
#include "settings.h"

#include <algorithm>

namespace vendle {

TIniFileEx::TIniFileEx(std::string fileName, FileAccess& files, DateTimeFormat fmt, Clock clock)
    : fileName_(std::move(fileName)), files_(files), fmt_(std::move(fmt)), clock_(std::move(clock)) {
    if (files_.exists(fileName_)) {
        if (const auto text = files_.readAll(fileName_, kSettingsFileLimit)) {
            parse(*text);
            // Content without a section of this program's is someone else's: kept aside before
            // the file is replaced.
            const bool blank = text->find_first_not_of(" \t\r\n") == std::string::npos;
            const std::vector<std::string> sections = SectionNames();
            if (!blank && std::none_of(sections.begin(), sections.end(),
                                       [](const std::string& name) { return isSettingsSection(name); }))
                foreign_ = *text;
        } else {
            unreadable_ = true;
        }
    }
    startTime_ = clock_();
    try {
        earlierRuns_ = FullTimeStringToDateTime(readText(*this, Setting::TotalExecTime));
    } catch (const ConvertError&) {
        // A damaged total must not cost the user the whole settings file.
        earlierRuns_ = 0;
    }
    startBookkeeping();
    // A file that is there but could not be read belongs to a user who started the program
    // before: no welcome, and the file is left for this run as it is.
    if (unreadable_) {
        isFirstKick_ = false;
        logMessage(LogTopic::Files,
                   "the settings file cannot be read and is not written in this run: " + fileName_);
    }
}

void TIniFileEx::startBookkeeping() {
    if (readDateTime(*this, Setting::FirstKick, fmt_) == 0) {
        isFirstKick_ = true;
        writeDateTime(*this, Setting::FirstKick, clock_());
    }
    execCount_ = incrementCounter(*this, Setting::ExecCount);
    if (!isFirstKick_) {
        if (isStored(*this, Setting::DebugDoAsFirst))
            isFirstKick_ = readBool(*this, Setting::DebugDoAsFirst);
        else
            writeBool(*this, Setting::DebugDoAsFirst, false);
    }
}

DateTime TIniFileEx::GetTotalExecTime() const {
    return earlierRuns_ + (clock_() - startTime_);
}

bool TIniFileEx::UpdateFile() {
    if (unreadable_)
        return false;
    writeText(*this, Setting::TotalExecTime, DateTimeToFullTimeString(GetTotalExecTime()));
    try {
        if (foreign_) {
            const std::string backup = fileName_ + ".bak";
            files_.writeAtomically(backup, *foreign_);
            logMessage(LogTopic::Files,
                       "the settings file held no section of this program's; its content is kept in " +
                           backup);
            foreign_.reset();
        }
        files_.writeAtomically(fileName_, serialize());
        return true;
    } catch (const std::exception& e) {
        const std::string message = textIn("Settings", "設定を保存できませんでした。\n") + e.what();
        logMessage(LogTopic::Files, message);
        if (reportError_)
            reportError_(message);
    }
    return false;
}

} // namespace vendle
