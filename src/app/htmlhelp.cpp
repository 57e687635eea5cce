// SPDX-License-Identifier: GPL-3.0-or-later
#include "htmlhelp.h"

#include "core/fileaccess.h"
#include "core/mainsettings.h"
#include "core/texts.h"
#include "widgets/formbounds.h"
#include "widgets/helpwindow.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QWidget>

namespace vendle::app {

THtmlHelp::THtmlHelp(std::string fileName, MemIniFile* settings)
    : fileName_(std::move(fileName)), settings_(settings) {}

void THtmlHelp::storeBounds() const {
    if (window_ && settings_)
        widgets::WriteFormBounds(*settings_, Setting::HelpBounds, *window_);
}

THtmlHelp::~THtmlHelp() {
    QObject::disconnect(parentGone_);
}

widgets::HelpWindow* THtmlHelp::window() const {
    return window_.get();
}

long THtmlHelp::ShowTopic(const char* page, int command) {
    return CallHtmlHelp(page, command, 0);
}

void THtmlHelp::adopt(QWidget* parent) {
    QObject::disconnect(parentGone_);
    const QRect place = window_->geometry();
    const bool shown = window_->isVisible();
    window_->setParent(parent, Qt::Window);
    if (shown) { // where the user sees it; a window not shown yet is placed when it is
        window_->setGeometry(place);
        window_->show();
    }
    // A parent that goes (the program ends while the dialog is open) takes the window with it.
    if (parent)
        parentGone_ = QObject::connect(parent, &QObject::destroyed, [this] { (void)window_.release(); });
}

namespace {

// The pages the program asks for. The catalogue of texts may send readers of a language to pages
// of their own: English readers get the English summary and its sections.
[[maybe_unused]] const char* const kAskedPages[] = {
    QT_TRANSLATE_NOOP("vendle::app::HelpPages", "index.htm"),
    QT_TRANSLATE_NOOP("vendle::app::HelpPages", "Option.htm"),
    QT_TRANSLATE_NOOP("vendle::app::HelpPages", "exclude.htm"),
};

QString pageFor(const char* page) {
    return QCoreApplication::translate("vendle::app::HelpPages", page);
}

} // namespace

long THtmlHelp::CallHtmlHelp(const char* page, int command, long) {
    const QFileInfo file(QString::fromStdString(fileName_));
    if (!file.exists())
        throw IoError(fillIn(textIn("vendle::app::THtmlHelp", "%1は見つかりません。"), {fileName_}));
    if (!file.isFile()) // a folder, a FIFO, a device: there, but no help file
        throw IoError(
            fillIn(textIn("vendle::app::THtmlHelp", "%1は通常のファイルではありません。"), {fileName_}));
    if (command != 0) // only "display the topic" is asked for
        return 0;
    if (!window_) {
        window_ = std::make_unique<widgets::HelpWindow>(pageFor("index.htm"));
        // 820 by 600 (room for the contents and a page with its pictures) where the screen has
        // room, in the middle of the area windows may take, or where the user left it.
        window_->resize(820, 600);
        widgets::centreOnScreen(*window_);
        if (settings_)
            widgets::ReadFormBounds(*settings_, Setting::HelpBounds, *window_);
        openFile_.clear();
    }
    if (openFile_ != fileName_) {
        window_->openFile(fileName_); // a damaged file shows the error page
        openFile_ = fileName_;
    }
    // Help asked for from a modal dialog must be usable while the dialog stays open: a window of
    // the dialog's own is not blocked by it. When the dialog closes, the window is its own again.
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (modal && window_->parentWidget() != modal) {
        adopt(modal);
        QObject::connect(
            modal, &QDialog::finished, window_.get(), [this] { adopt(nullptr); }, Qt::SingleShotConnection);
    }
    window_->showPage(pageFor(page));
    window_->show();
    window_->raise();
    window_->activateWindow();
    return static_cast<long>(window_->winId());
}

} // namespace vendle::app
