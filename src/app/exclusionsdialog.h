// SPDX-License-Identifier: GPL-3.0-or-later
// "除外するフォルダ": the folders whose documents the history never records, and the switch for
// documents with hidden names. On OK, documents already held under newly excluded folders are
// offered for removal, with their number.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace vendle::app {

class HistorySession;

class TExclusionsDlg : public QDialog {
    Q_OBJECT

public:
    // `chooseFolder` asks the user for a folder (empty: none chosen); `showHelp` opens a page.
    TExclusionsDlg(HistorySession& session, std::function<QString(QWidget* parent)> chooseFolder,
                   std::function<void(const char* page)> showHelp, QWidget* parent = nullptr);

    // Shows the dialog with the present exclusions and takes the new ones over on OK.
    void execute();

    QListWidget* folderList = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* removeButton = nullptr;
    QCheckBox* cbHidden = nullptr;

private:
    void addFolder();
    void removeFolder();
    void takeOver();

    HistorySession& session_;
    std::function<QString(QWidget*)> chooseFolder_;
    std::function<void(const char*)> showHelp_;
};

} // namespace vendle::app
