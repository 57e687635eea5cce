#include "dialogs.h"

#include "app/icons.h"
#include "app/mainwindow.h"
#include "core/fulltime.h"
#include "core/mainsettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vendle::app {

TOptionDlg::TOptionDlg(TVendleMainForm& mainForm, QWidget* parent) : QDialog(parent), mainForm_(mainForm) {
    setObjectName(QStringLiteral("OptionDlg"));
    setWindowTitle(QStringLiteral("設定"));
    auto* layout = new QFormLayout(this);
    sudDataMax_ = new QSpinBox(this);
    sudDataMax_->setObjectName(QStringLiteral("sudDataMax"));
    sudDataMax_->setRange(kDataMaxMin, kDataMaxMax);
    sudDataMax_->setGroupSeparatorShown(true);
    layout->addRow(QStringLiteral("履歴の最大数(&M)"), sudDataMax_);
    cbReadOnly_ = new QCheckBox(QStringLiteral("読み取り専用のファイルを開く前に確認する(&R)"), this);
    cbReadOnly_->setObjectName(QStringLiteral("cbReadOnly"));
    layout->addRow(cbReadOnly_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

void TOptionDlg::acOptionExecute() {
    HistorySession& session = mainForm_.session();
    sudDataMax_->setValue(session.DataMax);
    cbReadOnly_->setChecked(session.ConfirmReadOnly);
    if (exec() == QDialog::Accepted) {
        session.DataMax = sudDataMax_->value();
        session.ConfirmReadOnly = cbReadOnly_->isChecked();
    }
}

TFormAboutBox::TFormAboutBox(TVendleMainForm& mainForm, QWidget* parent)
    : QDialog(parent), mainForm_(mainForm) {
    setObjectName(QStringLiteral("FormAboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(48, 48));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("Vendle"), this), 0, Qt::AlignHCenter);
    details_ = new QLabel(this);
    layout->addWidget(details_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void TFormAboutBox::showModalBox() {
    const TIniFileEx& ini = mainForm_.session().settings();
    details_->setText(QStringLiteral("起動回数: %1回\n総起動時間: %2")
                          .arg(ini.ExecCount())
                          .arg(QString::fromStdString(DateTimeToFullTimeString(ini.GetTotalExecTime()))));
    exec();
}

} // namespace vendle::app
