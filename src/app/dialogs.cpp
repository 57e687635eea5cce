#include "dialogs.h"

#include "app/historysession.h"
#include "app/icons.h"
#include "core/fulltime.h"
#include "core/mainsettings.h"
#include "core/numericpicture.h"
#include "widgets/formbounds.h"
#include "widgets/messagebox.h"
#include "widgets/slideupdown.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace vendle::app {

using widgets::MessageBox;

namespace {

QLabel* label(const QString& text, QWidget* parent, int left, int top) {
    auto* l = new QLabel(text, parent);
    l->move(left, top);
    l->adjustSize();
    return l;
}

QPushButton* button(const QString& text, QWidget* parent, int left, int top) {
    auto* b = new QPushButton(text, parent);
    b->setGeometry(left, top, 75, 25);
    return b;
}

} // namespace

TOptionDlg::TOptionDlg(HistorySession& session, std::function<void(const char*)> showHelp, QWidget* parent)
    : QDialog(parent), session_(session), showHelp_(std::move(showHelp)) {
    setObjectName(QStringLiteral("OptionDlg"));
    setWindowTitle(QStringLiteral("設定"));
    setFixedSize(427, 300);

    // The main panel (inner border 5) above the button panel of 34 pixels.
    auto* groupBox1 = new QGroupBox(QStringLiteral("履歴数"), this);
    groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    groupBox1->setGeometry(5, 5, 417, 44);
    Memo1 = new QLineEdit(QStringLiteral("10,000"), groupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAlignment(Qt::AlignRight);
    Memo1->setGeometry(8, 16, 73, 18);
    sudDataMax = new widgets::TSlideUpDown(groupBox1);
    sudDataMax->setObjectName(QStringLiteral("sudDataMax"));
    {
        widgets::TSlideUpDown::LoadingScope loading(*sudDataMax);
        sudDataMax->setGeometry(81, 16, 12, 18);
        sudDataMax->setMin(kDataMaxMin);
        sudDataMax->setMax(kDataMaxMax);
        sudDataMax->setPosition(kDataMaxDefault);
        sudDataMax->setIncrement(1);
        sudDataMax->setRate(1);
        sudDataMax->setQuantity(1);
        sudDataMax->setFunctionKind(fkLinear);
        sudDataMax->setFormat(QStringLiteral("#,##0"));
        sudDataMax->setWrap(false);
        sudDataMax->Buttons.setBody(bdFull);
        sudDataMax->Buttons.setFlat(false);
        sudDataMax->Buttons.setDelay(500);
        sudDataMax->Buttons.setSpeed(33);
        sudDataMax->Buttons.setSystemRepeatTime(true);
        sudDataMax->Buttons.setQuantity(1);
        sudDataMax->Slider.setBody(bdLight);
        sudDataMax->Slider.setFlat(false);
        sudDataMax->Slider.setCursor(Qt::SplitVCursor);
        sudDataMax->Slider.setHeight(1);
        sudDataMax->Slider.setQuantity(1);
        sudDataMax->setAssociate(Memo1);
    }
    label(QStringLiteral("履歴の最大数を決定します。"), groupBox1, 96, 19)
        ->setObjectName(QStringLiteral("Label1"));

    auto* groupBox2 = new QGroupBox(QStringLiteral("その他"), this);
    groupBox2->setObjectName(QStringLiteral("GroupBox2"));
    groupBox2->setGeometry(5, 49, 417, 300 - 34 - 49 - 5);
    cbReadOnly = new QCheckBox(QStringLiteral("「読み取り専用」ファイルを開くときは確認する"), groupBox2);
    cbReadOnly->setObjectName(QStringLiteral("cbReadOnly"));
    cbReadOnly->setGeometry(8, 16, 401, 17);

    auto* panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setGeometry(0, 300 - 34, 427, 34);
    QPushButton* ok = button(QStringLiteral("OK"), panel2, 187, 2);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = button(QStringLiteral("キャンセル"), panel2, 267, 2);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects the dialog too
    QPushButton* help = button(QStringLiteral("ヘルプ(&H)"), panel2, 347, 2);
    help->setObjectName(QStringLiteral("HelpBtn"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, &TOptionDlg::HelpBtnClick);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this); // F1: this dialog's page
    connect(f1, &QShortcut::activated, this, &TOptionDlg::HelpBtnClick);
}

void TOptionDlg::acOptionExecute() {
    sudDataMax->setPosition(session_.dataMax());
    cbReadOnly->setChecked(session_.confirmReadOnly());
    Memo1->setFocus();
    Memo1->selectAll();
    widgets::centreOnScreen(*this);
    if (exec() != QDialog::Accepted)
        return;
    session_.setConfirmReadOnly(cbReadOnly->isChecked());
    session_.setDataMax(accepted_);
}

void TOptionDlg::accept() {
    // What is typed must be a whole number in range; anything else is refused in place, since the
    // history is cut to the limit on OK and what is cut is gone.
    const QLocale locale;
    const NumberSeparators separators{locale.groupSeparator().toStdString(),
                                      locale.decimalPoint().toStdString()};
    const std::optional<long long> typed =
        wholeNumberIn(Memo1->text().toStdString(), kDataMaxMin, kDataMaxMax, separators);
    if (!typed) {
        MessageBox::show(
            this, QStringLiteral("数値を%1～%2の間で指定してください").arg(kDataMaxMin).arg(kDataMaxMax),
            MessageBox::Plain, QStringLiteral("数値入力について"));
        Memo1->setFocus();
        Memo1->selectAll();
        return;
    }
    const int limit = static_cast<int>(*typed);
    const int held = session_.items().ItemCount();
    if (limit < held) {
        const QString question =
            QStringLiteral(
                "履歴数を%1にすると、古いほうから%2個のファイルが履歴から削除されます。よろしいですか？")
                .arg(locale.toString(limit))
                .arg(locale.toString(held - limit));
        if (MessageBox::askYesNo(this, question, MessageBox::Confirmation, MessageBox::No) !=
            MessageBox::Yes) {
            Memo1->setFocus();
            Memo1->selectAll();
            return;
        }
    }
    accepted_ = limit;
    sudDataMax->setPosition(limit);
    QDialog::accept();
}

void TOptionDlg::HelpBtnClick() {
    if (showHelp_)
        showHelp_("Option.htm"); // the dialog stays open
}

TFormAboutBox::TFormAboutBox(HistorySession& session, std::array<std::uint16_t, 4> version, QWidget* parent)
    : QDialog(parent), session_(session), version_(version) {
    setObjectName(QStringLiteral("FormAboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFixedSize(345, 213);
    auto* panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1->setGeometry(8, 8, 329, 161);
    auto* icon = new QLabel(panel1);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setGeometry(8, 8, 65, 57);
    icon->setPixmap(applicationIcon().pixmap(65, 57));
    icon->setScaledContents(true);
    label(QStringLiteral("Product Name"), panel1, 88, 16);
    label(QStringLiteral("Vendle"), panel1, 176, 16)->setObjectName(QStringLiteral("Label1"));
    label(QStringLiteral("Version"), panel1, 88, 40);
    VersionNumber = label(QStringLiteral("0.0.0.0"), panel1, 176, 40);
    VersionNumber->setObjectName(QStringLiteral("VersionNumber"));
    label(QStringLiteral("Copyright"), panel1, 8, 80);
    label(QStringLiteral("Vendle の開発者"), panel1, 80, 80)->setObjectName(QStringLiteral("Label2"));
    label(QStringLiteral("起動回数"), panel1, 8, 104)->setObjectName(QStringLiteral("Label3"));
    ExecCount = label(QStringLiteral("n回"), panel1, 80, 104);
    ExecCount->setObjectName(QStringLiteral("ExecCount"));
    label(QStringLiteral("使用時間"), panel1, 8, 128)->setObjectName(QStringLiteral("Label4"));
    TotalExecTime = label(QStringLiteral("00時間00分00秒"), panel1, 80, 128);
    TotalExecTime->setObjectName(QStringLiteral("TotalExecTime"));
    QPushButton* ok = button(QStringLiteral("OK"), this, 143, 180);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TFormAboutBox::Timer1Timer);
}

void TFormAboutBox::showModalBox() {
    FormShow();
    widgets::centreOnScreen(*this);
    exec();
}

void TFormAboutBox::FormShow() {
    VersionNumber->setText(QStringLiteral("%1.%2 Release(%3) Build(%4)")
                               .arg(version_[0])
                               .arg(version_[1])
                               .arg(version_[2])
                               .arg(version_[3]));
    VersionNumber->adjustSize();
    const TIniFileEx& ini = session_.settings();
    ExecCount->setText(QStringLiteral("%1回").arg(ini.ExecCount()));
    ExecCount->adjustSize();
    RunningTime = ini.GetTotalExecTime();
    Timer1->start();
    ShowElapsed();
}

void TFormAboutBox::Timer1Timer() {
    RunningTime += 1.0 / 86'400;
    ShowElapsed();
}

void TFormAboutBox::ShowElapsed() {
    TotalExecTime->setText(QString::fromStdString(elapsedText(RunningTime)));
    TotalExecTime->adjustSize();
}

} // namespace vendle::app
