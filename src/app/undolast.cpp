// SPDX-License-Identifier: GPL-3.0-or-later
#include "undolast.h"

#include "app/historysession.h"
#include "platform/trash.h"
#include "widgets/messagebox.h"

#include <QWidget>

namespace vendle::app {

UndoLast::UndoLast(QWidget& window, HistorySession& session)
    : QObject(&window), window_(window), session_(session) {}

void UndoLast::forgotten(std::vector<RemovedDocument> documents) {
    if (documents.empty())
        return;
    kind_ = Kind::Forget;
    forgotten_ = std::move(documents);
    trashed_.clear();
    emit changed();
}

void UndoLast::trashed(std::vector<std::string> paths) {
    if (paths.empty())
        return;
    kind_ = Kind::Trash;
    trashed_ = std::move(paths);
    forgotten_.clear();
    emit changed();
}

QString UndoLast::doneText() const {
    switch (kind_) {
    case Kind::Forget:
        return tr("%1個のファイルを履歴から削除しました").arg(forgotten_.size());
    case Kind::Trash:
        return tr("%1個のファイルをゴミ箱へ移動しました").arg(trashed_.size());
    case Kind::None:
        break;
    }
    return {};
}

void UndoLast::undo() {
    const Kind kind = kind_;
    kind_ = Kind::None;
    // Taken first: a box below runs an event loop in which another command may be done.
    const std::vector<RemovedDocument> forgotten = std::move(forgotten_);
    const std::vector<std::string> trashed = std::move(trashed_);
    forgotten_.clear();
    trashed_.clear();
    emit changed();
    if (kind == Kind::Forget) {
        session_.putBack(forgotten);
    } else if (kind == Kind::Trash) {
        const platform::RestoreResult result = platform::restoreFromTrash(trashed);
        if (!result.reason.empty())
            widgets::MessageBox::show(&window_, QString::fromStdString(result.reason));
    }
}

} // namespace vendle::app
