// SPDX-License-Identifier: GPL-3.0-or-later
#include "exclusionsdialog.h"

#include "app/historysession.h"
#include "widgets/formbounds.h"
#include "widgets/messagebox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <memory>

namespace vendle::app {

using widgets::MessageBox;

TExclusionsDlg::TExclusionsDlg(HistorySession& session, std::function<QString(QWidget*)> chooseFolder,
                               std::function<void(const char*)> showHelp, QWidget* parent)
    : QDialog(parent), session_(session), chooseFolder_(std::move(chooseFolder)),
      showHelp_(std::move(showHelp)) {
    setObjectName(QStringLiteral("ExclusionsDlg"));
    setWindowTitle(tr("除外するフォルダ"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("次のフォルダにあるファイルは履歴に記録しません(&L)。"), this);
    layout->addWidget(intro);

    auto* row = new QHBoxLayout;
    folderList = new QListWidget(this);
    folderList->setObjectName(QStringLiteral("FolderList"));
    intro->setBuddy(folderList);
    row->addWidget(folderList, 1);
    auto* buttons = new QVBoxLayout;
    addButton = new QPushButton(tr("追加(&A)..."), this);
    removeButton = new QPushButton(tr("削除(&D)"), this);
    buttons->addWidget(addButton);
    buttons->addWidget(removeButton);
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);

    cbHidden = new QCheckBox(tr("隠しファイルと隠しフォルダにあるファイルを記録しない(&H)"), this);
    cbHidden->setObjectName(QStringLiteral("cbHidden"));
    layout->addWidget(cbHidden);

    auto* box = new QDialogButtonBox(this);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    box->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    QPushButton* help = box->addButton(tr("ヘルプ(&H)"), QDialogButtonBox::HelpRole);
    help->setAutoDefault(false);
    layout->addWidget(box);

    connect(addButton, &QPushButton::clicked, this, &TExclusionsDlg::addFolder);
    connect(removeButton, &QPushButton::clicked, this, &TExclusionsDlg::removeFolder);
    connect(folderList, &QListWidget::currentRowChanged, this,
            [this](int row) { removeButton->setEnabled(row >= 0); });
    auto* del = new QShortcut(QKeySequence::Delete, folderList, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, &TExclusionsDlg::removeFolder);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto page = [this] {
        if (showHelp_)
            showHelp_("exclude.htm"); // the dialog stays open
    };
    connect(box, &QDialogButtonBox::helpRequested, this, page);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, page);
    resize(fontMetrics().averageCharWidth() * 64, fontMetrics().height() * 18);
}

void TExclusionsDlg::execute() {
    const Exclusions& present = session_.exclusions();
    folderList->clear();
    for (const std::string& folder : present.folders)
        folderList->addItem(QString::fromStdString(folder));
    folderList->setCurrentRow(folderList->count() > 0 ? 0 : -1);
    removeButton->setEnabled(folderList->count() > 0);
    cbHidden->setChecked(present.hidden);
    folderList->setFocus();
    widgets::centreOnScreen(*this);
    if (exec() == QDialog::Accepted)
        takeOver();
}

void TExclusionsDlg::addFolder() {
    const QString folder = chooseFolder_ ? chooseFolder_(this) : QString();
    if (folder.isEmpty())
        return;
    const bool known = !folderList->findItems(folder, Qt::MatchExactly).isEmpty();
    if (!known && static_cast<std::size_t>(folderList->count()) >= Exclusions::kMostFolders) {
        MessageBox::show(this, tr("除外するフォルダは%1個までです。").arg(Exclusions::kMostFolders));
        return;
    }
    if (!known)
        folderList->addItem(folder);
    folderList->setCurrentRow(folderList->count() - 1);
}

void TExclusionsDlg::removeFolder() {
    // The item taken out of the list is this code's to free.
    const std::unique_ptr<QListWidgetItem> taken(folderList->takeItem(folderList->currentRow()));
    removeButton->setEnabled(folderList->count() > 0);
}

void TExclusionsDlg::takeOver() {
    Exclusions chosen;
    for (int i = 0; i < folderList->count(); ++i)
        chosen.folders.push_back(folderList->item(i)->text().toStdString());
    chosen.hidden = cbHidden->isChecked();
    // What is held already under what is now excluded goes only when the user says so.
    std::vector<std::string> remove = session_.documentsExcludedBy(chosen);
    if (!remove.empty() &&
        MessageBox::askYesNo(this, tr("除外するフォルダにあるファイルが履歴に%1個あります。"
                                      "履歴から削除しますか？")
                                       .arg(remove.size())) != MessageBox::Yes)
        remove.clear();
    session_.setExclusions(std::move(chosen), remove);
}

} // namespace vendle::app
