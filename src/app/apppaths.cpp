// SPDX-License-Identifier: GPL-3.0-or-later
#include "apppaths.h"

#include "core/fileplaces.h"
#include "platform/autostart.h"
#include "platform/logging.h"
#include "platform/system.h"

namespace vendle::app {

AppPaths AppPaths::forProgram(const std::string& executable) {
    const FilePlaces places =
        chooseFilePlaces({executable.substr(0, executable.rfind('/')), platform::userConfigFolder(),
                          platform::userDataFolder(), platform::pathExists});
    for (const std::string& folder : places.foldersToMake) {
        if (!platform::makePrivateFolder(folder))
            qCWarning(lcFiles) << "cannot make the folder" << folder.c_str();
    }
    AppPaths p;
    p.executable = executable;
    p.iniFile = places.iniFile;
    p.dataFile = places.dataFile;
    p.helpFile = places.helpFile;
    p.startupFolder = platform::startupFolder();
    p.instanceName = places.instanceName;
    p.portable = places.portable;
    for (const std::string& file : {p.iniFile, p.dataFile}) {
        const std::string folder = file.substr(0, file.rfind('/'));
        std::string why = folder.empty() ? std::string() : platform::folderProblem(folder);
        if (!why.empty() && p.unusableFolder.empty()) {
            qCWarning(lcFiles) << "cannot keep files in" << folder.c_str() << why.c_str();
            p.unusableFolder = folder;
            p.unusableReason = std::move(why);
        }
    }
    qCInfo(lcFiles).noquote() << (p.portable ? "files beside the program:" : "files in the user's folders:")
                              << p.iniFile.c_str() << p.dataFile.c_str() << "help:" << p.helpFile.c_str();
    return p;
}

} // namespace vendle::app
