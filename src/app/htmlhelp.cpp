#include "htmlhelp.h"

#include "core/fileaccess.h"
#include "widgets/helpviewer.h"

#include <QFileInfo>
#include <QVBoxLayout>
#include <QWidget>

namespace vendle::app {

THtmlHelp::THtmlHelp(std::string fileName) : fileName_(std::move(fileName)) {}

THtmlHelp::~THtmlHelp() = default;

QWidget* THtmlHelp::window() const {
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
        window_ = std::make_unique<QWidget>(nullptr, Qt::Window);
        window_->setWindowTitle(QStringLiteral("Vendle ヘルプ"));
        window_->resize(640, 520);
        auto* layout = new QVBoxLayout(window_.get());
        layout->setContentsMargins(0, 0, 0, 0);
        browser_ = new widgets::HelpBrowser(window_.get());
        layout->addWidget(browser_);
        QObject::connect(browser_, &widgets::HelpBrowser::titleChanged, window_.get(),
                         [window = window_.get()](const QString& title) {
                             window->setWindowTitle(QStringLiteral("Vendle ヘルプ - ") + title);
                         });
        openFile_.clear();
    }
    if (openFile_ != fileName_) {
        browser_->openFile(fileName_); // a damaged file shows the error page
        openFile_ = fileName_;
    }
    browser_->showPage(QString::fromUtf8(page));
    window_->show();
    window_->raise();
    window_->activateWindow();
    return static_cast<long>(window_->winId());
}

} // namespace vendle::app
