// SPDX-License-Identifier: GPL-3.0-or-later
// The last command that can be taken back: documents taken out of the history, or files moved to
// the trash. It says what was done (for the count line) and undoes it: forgotten documents come
// back with their own times, trashed files go back to where they were.
#pragma once

#include "core/history.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace vendle::app {

class HistorySession;

class UndoLast : public QObject {
    Q_OBJECT

public:
    UndoLast(QWidget& window, HistorySession& session);

    // The user forgot these documents; they are what an undo brings back.
    void forgotten(std::vector<RemovedDocument> documents);
    // The user moved these files to the trash.
    void trashed(std::vector<std::string> paths);

    bool available() const { return kind_ != Kind::None; }
    // What the last command did, in words ("3個のファイルを履歴から削除しました"); empty when
    // nothing can be undone.
    QString doneText() const;
    // Takes the last command back; what cannot be put back is said in a box.
    void undo();

signals:
    // What can be undone changed.
    void changed();

private:
    enum class Kind { None, Forget, Trash };

    QWidget& window_;
    HistorySession& session_;
    Kind kind_ = Kind::None;
    std::vector<RemovedDocument> forgotten_;
    std::vector<std::string> trashed_;
};

} // namespace vendle::app
