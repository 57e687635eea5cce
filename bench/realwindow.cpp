// SPDX-License-Identifier: GPL-3.0-or-later
#include "realwindow.h"

#include "benchdata.h"
#include "core/datetimeformat.h"
#include "sessionprobe.h"
#include "widgets/messagebox.h"

#include <fstream>

namespace vendle::bench {

namespace {

app::AppPaths pathsIn(const QTemporaryDir& dir) {
    app::AppPaths paths;
    paths.executable = dir.filePath(QStringLiteral("vendle")).toStdString();
    paths.iniFile = dir.filePath(QStringLiteral("vendle.ini")).toStdString();
    paths.dataFile = dir.filePath(QStringLiteral("vendle.dat")).toStdString();
    paths.dataHome = dir.filePath(QStringLiteral("data")).toStdString();
    paths.startupFolder = dir.filePath(QStringLiteral("autostart")).toStdString();
    std::ofstream ini(paths.iniFile);
    ini << "[%%% Application Infomation Section %%%]\r\nFirstKick="
        << DateTimeToStr(encodeDate(2026, 1, 1), DateTimeFormat::japanese())
        << "\r\n"
        // Room for all 100,000: the first look at the desktop's record would trim the history to
        // the default 10,000 otherwise.
        << "[VendleMainForm]\r\nDataMax=100000\r\n";
    return paths;
}

} // namespace

RealWindow::RealWindow()
    : paths(pathsIn(dir)), program([this] {
          widgets::MessageBox::setTestMode(true);
          auto started = std::make_unique<app::Program>(paths);
          started->start();
          return started;
      }()),
      form(program->window()) {
    test::changeHistory(form.session(), [](HistoryList& items) {
        for (const Document& d : documents(100'000))
            items.AddItem(d.path, d.lastUsed);
    });
}

RealWindow::~RealWindow() {
    program.reset();
    widgets::MessageBox::setTestMode(false);
}

} // namespace vendle::bench
