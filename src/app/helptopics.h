// Opening a page of the help file that sits beside the program.
#pragma once

#include "core/fileaccess.h"

#include <string>

class QWidget;

namespace vendle::app {

// Opens `page` of `helpFile`; a missing file is reported with its path.
void showHelpTopic(QWidget* parent, const std::string& helpFile, FileAccess& files, const char* page);

} // namespace vendle::app
