#include "helptopics.h"

#include "widgets/messagebox.h"

#include <QDesktopServices>
#include <QUrl>

namespace vendle::app {

void showHelpTopic(QWidget* parent, const std::string& helpFile, FileAccess& files, const char* page) {
    using widgets::MessageBox;
    // Without the file the user is told where it was looked for.
    if (!files.exists(helpFile)) {
        MessageBox::error(parent, QString::fromStdString(helpFile + "は見つかりません。"));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(helpFile))))
        MessageBox::error(parent, QString::fromStdString(helpFile + "::/" + page + "を開けませんでした。"));
}

} // namespace vendle::app
