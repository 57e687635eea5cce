#include "htmlhelp.h"

#include "core/fileaccess.h"
#include "widgets/helpwindow.h"

#include <QFileInfo>
#include <QWidget>

namespace vendle::app {

THtmlHelp::THtmlHelp(std::string fileName) : fileName_(std::move(fileName)) {}

THtmlHelp::~THtmlHelp() = default;

widgets::HelpWindow* THtmlHelp::window() const {
    return window_.get();
}

long THtmlHelp::ShowTopic(const char* page, int command) {
    return CallHtmlHelp(page, command, 0);
}

long THtmlHelp::CallHtmlHelp(const char* page, int command, long) {
    if (!QFileInfo(QString::fromStdString(fileName_)).isFile())
        throw IoError(fileName_ + "は見つかりません。");
    if (command != 0) // only "display the topic" is asked for
        return 0;
    if (!window_) {
        window_ = std::make_unique<widgets::HelpWindow>(QStringLiteral("index.htm"));
        window_->resize(640, 520);
        openFile_.clear();
    }
    if (openFile_ != fileName_) {
        window_->openFile(fileName_); // a damaged file shows the error page
        openFile_ = fileName_;
    }
    window_->showPage(QString::fromUtf8(page));
    window_->show();
    window_->raise();
    window_->activateWindow();
    return static_cast<long>(window_->winId());
}

} // namespace vendle::app
