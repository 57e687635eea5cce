#include "htmlhelp.h"

#include "core/fileaccess.h"
#include "widgets/helpwindow.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace vendle::app {

THtmlHelp::THtmlHelp(std::string fileName) : fileName_(std::move(fileName)) {}

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

long THtmlHelp::CallHtmlHelp(const char* page, int command, long) {
    if (!QFileInfo(QString::fromStdString(fileName_)).isFile())
        throw IoError(fileName_ + "は見つかりません。");
    if (command != 0) // only "display the topic" is asked for
        return 0;
    if (!window_) {
        window_ = std::make_unique<widgets::HelpWindow>(QStringLiteral("index.htm"));
        // 640 by 520 where the screen has room, in the middle of the area windows may take.
        QRect area(0, 0, 640, 520);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        const QSize size(std::min(640, area.width() * 9 / 10), std::min(520, area.height() * 9 / 10));
        window_->resize(size);
        window_->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
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
    window_->showPage(QString::fromUtf8(page));
    window_->show();
    window_->raise();
    window_->activateWindow();
    return static_cast<long>(window_->winId());
}

} // namespace vendle::app
