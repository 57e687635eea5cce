// SPDX-License-Identifier: GPL-3.0-or-later
#include "startupentry.h"

#include "core/desktopentry.h"
#include "core/filelimits.h"
#include "platform/autostart.h"

namespace vendle::app {

StartupEntry::StartupEntry(const AppPaths& paths, FileAccess& files) : paths_(paths), files_(files) {}

std::string StartupEntry::path() const {
    if (paths_.startupFolder.empty())
        return {};
    return paths_.startupFolder + "/" + platform::startupEntryFileName("Vendle");
}

std::string StartupEntry::registeredProgram() const {
    const std::string entry = path();
    if (entry.empty())
        return {};
    const std::optional<std::string> text = files_.readAll(entry, kLinkFileLimit);
    if (!text)
        return {};
    return desktopEntryProgram(*text).value_or(std::string());
}

StartupEntry::State StartupEntry::state() const {
    const std::string entry = path();
    if (entry.empty() || !files_.exists(entry))
        return State::Missing;
    return registeredProgram() == paths_.executable ? State::ThisProgram : State::OtherProgram;
}

bool StartupEntry::write() const {
    const std::string entry = path();
    if (entry.empty())
        return false;
    const std::string& exe = paths_.executable;
    return platform::CreateShortcut(exe, entry, "Vendle", exe.substr(0, exe.rfind('/') + 1));
}

bool StartupEntry::remove() const {
    if (state() != State::ThisProgram)
        return true;
    return platform::removeStartupEntry(path());
}

} // namespace vendle::app
