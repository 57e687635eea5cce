// Where the program's own files are: the settings, history and help files beside the executable,
// and the folder of entries started with the session.
#pragma once

#include <string>

namespace vendle::app {

struct AppPaths {
    std::string executable;
    std::string iniFile;
    std::string dataFile;
    std::string helpFile;
    std::string startupFolder;
    std::string dataHome; // where the desktop records recently used documents; empty: the default

    // The files beside `executable` and the platform's startup folder.
    static AppPaths beside(const std::string& executable);
};

} // namespace vendle::app
