// SPDX-License-Identifier: GPL-3.0-or-later
// A small window with the properties of documents: name, type, folder, size and modified time.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace vendle::app {

void showProperties(QWidget* parent, const std::vector<std::string>& paths);

} // namespace vendle::app
