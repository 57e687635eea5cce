// SPDX-License-Identifier: GPL-3.0-or-later
// The program's help: pages of the compiled help file beside the program, shown in the program's
// own help window. A page is addressed as the file's path, "::/" and the page.
#pragma once

#include <QMetaObject>

#include <memory>
#include <string>

class QWidget;

namespace vendle {
class MemIniFile;
}

namespace vendle::widgets {
class HelpWindow;
}

namespace vendle::app {

class THtmlHelp {
public:
    // `fileName` is the help file (the program's path with ".chm"); the help window's place is kept
    // in `settings` when given.
    explicit THtmlHelp(std::string fileName, MemIniFile* settings = nullptr);
    ~THtmlHelp();
    THtmlHelp(const THtmlHelp&) = delete;
    THtmlHelp& operator=(const THtmlHelp&) = delete;
    // The help window is not owned by any window of the program.

    const std::string& FileName() const { return fileName_; }
    void setFileName(const std::string& name) { fileName_ = name; }

    // Shows a page (command 0: display the topic); returns the help window's id, or 0. Throws
    // IoError "<path>は見つかりません。" when the file is not there.
    long ShowTopic(const char* page, int command = 0);
    long CallHtmlHelp(const char* page, int command, long data);

    // The address of a page: FileName + "::/" + page.
    std::string address(const char* page) const { return fileName_ + "::/" + page; }

    // The help window's place into the settings (in memory), once it was shown.
    void storeBounds() const;

    // The help window, once shown.
    widgets::HelpWindow* window() const;

private:
    // Makes the help window a window of `parent` (nullptr: of its own), where it is.
    void adopt(QWidget* parent);

    std::string fileName_;
    MemIniFile* settings_;
    std::unique_ptr<widgets::HelpWindow> window_; // a top-level window of its own
    QMetaObject::Connection parentGone_;
    std::string openFile_;
};

} // namespace vendle::app
