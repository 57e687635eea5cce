// SPDX-License-Identifier: GPL-3.0-or-later
// Opening documents: the grid's current document or its folder, or a file chosen in a dialog, with
// the read-only question. A successful open is noted as recently used the way the desktop does, so
// that the watched record brings the document into the history; opening never edits it directly.
#pragma once

#include <QObject>

#include <string>

class QWidget;

namespace vendle::app {

class HistorySession;

class DocumentOpener : public QObject {
    Q_OBJECT

public:
    // `dataHome` is where the desktop's recently-used file lives (empty: the user's data folder).
    DocumentOpener(QWidget& window, HistorySession& session, std::string dataHome, QObject* parent = nullptr);

    // Opens one path with its default application; true when it was opened. A failure is shown
    // with the system's reason and the path; nothing else changes. `path` is taken by value: the
    // read-only question runs an event loop, during which the history may change.
    bool OpenDocument(std::string path);

    // The view entry `row` (from 0): column "ファイル名" opens the document, "フォルダ" its folder,
    // any other column nothing.
    void acExecuteExecute(int column, int row);

    // The File menu's "開く(&O)": a file chosen in the desktop's file dialog, which starts in the
    // folder of `current` (the grid's current document), else where the last file was chosen,
    // else in the documents folder.
    void Open2Click(const std::string& current = {});
    // Where the dialog starts.
    QString startFolder(const std::string& current) const;

private:
    QWidget& window_;
    HistorySession& session_;
    std::string dataHome_;
};

} // namespace vendle::app
