// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentopener.h"

#include "app/historysession.h"
#include "core/mainsettings.h"
#include "core/paths.h"
#include "platform/opener.h"
#include "widgets/messagebox.h"

#include <QFileDialog>
#include <QStandardPaths>
#include <QWidget>

namespace vendle::app {

using widgets::MessageBox;

DocumentOpener::DocumentOpener(QWidget& window, HistorySession& session, std::string dataHome,
                               QObject* parent)
    : QObject(parent), window_(window), session_(session), dataHome_(std::move(dataHome)) {}

namespace {

// The system's reason, then the file on a line of its own.
QString failureText(const std::string& reason, const std::string& path) {
    std::string text = reason;
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return QString::fromStdString(text) + DocumentOpener::tr("ファイル名:") + QString::fromStdString(path);
}

} // namespace

// A copy of the path, not a reference: the history may change while a box waits.
bool DocumentOpener::OpenDocument(std::string path) { // NOLINT(performance-unnecessary-value-param)
    if (session_.confirmReadOnly() && platform::isReadOnlyFile(path)) {
        const QString question =
            tr("%1 は読み取り専用ファイルです。続行しますか？").arg(QString::fromStdString(path));
        if (MessageBox::askYesNo(&window_, question, MessageBox::Warning) != MessageBox::Yes)
            return false;
    }
    const platform::OpenResult result = platform::openWithDefaultApplication(path);
    if (!result.ok) {
        MessageBox::show(&window_, failureText(result.reason, path));
        return false;
    }
    platform::noteRecentlyUsed(path, dataHome_);
    incrementCounter(session_.settings(), Setting::ExecuteCount);
    return true;
}

void DocumentOpener::acExecuteExecute(int column, int row) {
    const HistoryList& items = session_.items();
    if (row < 0 || row >= items.ViewCount())
        return;
    // A copy: the read-only question runs an event loop, in which a scan may drop the record.
    const std::string path(items.ViewItem(row).Path);
    if (column == ColumnName)
        OpenDocument(path);
    else if (column == ColumnFolder)
        OpenDocument(std::string(directoryOf(path, items.syntax())));
}

namespace {

// The folder of a path, without the separator at its end (a root keeps its own).
std::string folderOf(const std::string& path, const PathSyntax& syntax) {
    std::string folder(directoryOf(path, syntax));
    if (folder.size() > 1 && folder.back() == syntax.separator())
        folder.pop_back();
    return folder;
}

} // namespace

QString DocumentOpener::startFolder(const std::string& current) const {
    const auto isFolder = [&](const std::string& folder) {
        return !folder.empty() && session_.files().exists(folder) && !session_.files().isExistingFile(folder);
    };
    if (!current.empty()) {
        const std::string folder = folderOf(current, session_.items().syntax());
        if (isFolder(folder))
            return QString::fromStdString(folder);
    }
    const std::string last = readText(session_.settings(), Setting::OpenFolder);
    if (isFolder(last))
        return QString::fromStdString(last);
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void DocumentOpener::Open2Click(const std::string& current) {
    const QString file = QFileDialog::getOpenFileName(&window_, {}, startFolder(current));
    if (file.isEmpty())
        return;
    const std::string chosen = file.toStdString();
    writeText(session_.settings(), Setting::OpenFolder, folderOf(chosen, session_.items().syntax()));
    OpenDocument(chosen);
}

} // namespace vendle::app
