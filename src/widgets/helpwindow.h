// SPDX-License-Identifier: GPL-3.0-or-later
// The help window around the help browser: back, forward and the first page on a tool bar, the
// help file's table of contents beside the page, a title that follows the page, Esc to close.
#pragma once

#include <QUrl>
#include <QWidget>

#include <string>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace vendle::widgets {

class HelpBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // `home` is the page the tool bar's first-page button shows ("index.htm").
    explicit HelpWindow(QString home, QWidget* parent = nullptr);

    // Opens the help file; its table of contents fills the pane once the file is open.
    void openFile(const std::string& path);
    void showPage(const QString& page);

    HelpBrowser& browser() const { return *browser_; }
    QTreeWidget& contents() const { return *contents_; }
    QAction& backAction() const { return *back_; }
    QAction& forwardAction() const { return *forward_; }
    QAction& homeAction() const { return *home_; }

private:
    void fillContents();
    // Makes the entry of `page` the current one in the contents.
    void markPage(const QUrl& page);

    QString homePage_;
    HelpBrowser* browser_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* home_ = nullptr;
};

} // namespace vendle::widgets
