#include "apppaths.h"

#include "platform/autostart.h"
#include "platform/system.h"

namespace vendle::app {

AppPaths AppPaths::beside(const std::string& executable) {
    AppPaths p;
    p.executable = executable;
    p.iniFile = platform::companionFilePath(executable, ".ini");
    p.dataFile = platform::companionFilePath(executable, ".dat");
    p.helpFile = platform::companionFilePath(executable, ".chm");
    p.startupFolder = platform::startupFolder();
    return p;
}

} // namespace vendle::app
