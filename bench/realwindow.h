// SPDX-License-Identifier: GPL-3.0-or-later
// The program's main window with 100,000 entries, its files in a folder of its own and no boxes
// shown: what the rows that measure the real window work on.
#pragma once

#include "app/apppaths.h"
#include "app/mainwindow.h"
#include "app/program.h"

#include <QTemporaryDir>

namespace vendle::bench {

struct RealWindow {
    QTemporaryDir dir;
    app::AppPaths paths;
    std::unique_ptr<app::Program> program;
    app::TVendleMainForm& form;

    RealWindow();
    ~RealWindow();
    RealWindow(const RealWindow&) = delete;
    RealWindow& operator=(const RealWindow&) = delete;
};

} // namespace vendle::bench
