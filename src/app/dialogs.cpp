// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs.h"

#include "app/historysession.h"
#include "app/icons.h"
#include "app/startupentry.h"
#include "core/fulltime.h"
#include "core/mainsettings.h"
#include "core/numericpicture.h"
#include "widgets/formbounds.h"
#include "widgets/messagebox.h"
#include "widgets/slideupdown.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace vendle::app {

using widgets::MessageBox;

namespace {

QLabel* label(const QString& text, QWidget* parent, int left, int top) {
    auto* l = new QLabel(text, parent);
    l->move(left, top);
    l->adjustSize();
    return l;
}

} // namespace

TOptionDlg::TOptionDlg(HistorySession& session, std::function<void(const char*)> showHelp,
                       const StartupEntry* startup, QWidget* parent)
    : QDialog(parent), session_(session), showHelp_(std::move(showHelp)), startup_(startup) {
    setObjectName(QStringLiteral("OptionDlg"));
    setWindowTitle(tr("設定"));

    groupBox1_ = new QGroupBox(tr("履歴数"), this);
    groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    Memo1 = new QLineEdit(QStringLiteral("10,000"), groupBox1_);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAlignment(Qt::AlignRight);
    sudDataMax = new widgets::TSlideUpDown(groupBox1_);
    sudDataMax->setObjectName(QStringLiteral("sudDataMax"));
    {
        widgets::TSlideUpDown::LoadingScope loading(*sudDataMax);
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
    }
    label1_ = new QLabel(tr("履歴の最大数を決定します。"), groupBox1_);
    label1_->setObjectName(QStringLiteral("Label1"));

    groupBox2_ = new QGroupBox(tr("その他"), this);
    groupBox2_->setObjectName(QStringLiteral("GroupBox2"));
    cbReadOnly = new QCheckBox(tr("「読み取り専用」ファイルを開くときは確認する"), groupBox2_);
    cbReadOnly->setObjectName(QStringLiteral("cbReadOnly"));
    cbAutostart = new QCheckBox(tr("ログイン時に自動起動する"), groupBox2_);
    cbAutostart->setObjectName(QStringLiteral("cbAutostart"));
    cbAutostart->setEnabled(startup_ != nullptr);

    panel2_ = new QWidget(this);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    auto* ok = new QPushButton(QStringLiteral("OK"), panel2_);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(tr("キャンセル"), panel2_);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects the dialog too
    auto* help = new QPushButton(tr("ヘルプ(&H)"), panel2_);
    help->setObjectName(QStringLiteral("HelpBtn"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, &TOptionDlg::HelpBtnClick);
    buttons_ = {ok, cancel, help};
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this); // F1: this dialog's page
    connect(f1, &QShortcut::activated, this, &TOptionDlg::HelpBtnClick);

    // The group titles sit on the frames' top lines, as a titled frame does on most desktops.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.6em; padding-top: "
        "0.6em; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 0.5em;"
        " padding: 0 0.2em; }"));
    relayout();
    sudDataMax->setAssociate(Memo1);
}

void TOptionDlg::relayout() {
    const QFontMetrics metrics(font());
    // Lengths of the layout drawn for a 12-pixel line, grown with the font's line.
    const double scale = std::max(1.0, metrics.height() / 12.0);
    const auto px = [scale](int length) { return static_cast<int>(std::lround(length * scale)); };
    const int gap = px(5);   // between the dialog's edge, the groups and the buttons
    const int inner = px(8); // from a group's frame to what it holds

    // 履歴数: the edit box, the arrows docked at its right, the explanation.
    const QMargins frame1 = groupBox1_->contentsMargins();
    const int editHeight = std::max(px(18), Memo1->minimumSizeHint().height());
    const int editWidth = std::max(px(73), metrics.horizontalAdvance(QStringLiteral("100,000")) + px(16));
    const int arrowWidth =
        std::max(px(12), style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, sudDataMax));
    const int rowTop = frame1.top() + px(2);
    Memo1->setGeometry(inner, rowTop, editWidth, editHeight);
    sudDataMax->setGeometry(inner + editWidth, rowTop, arrowWidth, editHeight);
    const QSize labelSize = label1_->sizeHint();
    label1_->setGeometry(inner + editWidth + arrowWidth + px(3),
                         rowTop + (editHeight - labelSize.height()) / 2, labelSize.width(),
                         labelSize.height());
    const int group1Width = label1_->geometry().right() + 1 + inner + frame1.right();
    const int group1Height = rowTop + editHeight + px(8) + frame1.bottom();

    // その他: the check boxes one under another.
    const QMargins frame2 = groupBox2_->contentsMargins();
    int group2Width = 0;
    int checkTop = frame2.top() + px(2);
    for (QCheckBox* box : groupBox2_->findChildren<QCheckBox*>(Qt::FindDirectChildrenOnly)) {
        const QSize hint = box->sizeHint();
        box->setGeometry(inner, checkTop, hint.width(), std::max(hint.height(), px(17)));
        checkTop += box->height() + px(4);
        group2Width = std::max(group2Width, inner + hint.width() + inner + frame2.right());
    }

    // The buttons at the right of a strip under the groups.
    int buttonWidth = px(75);
    int buttonHeight = px(25);
    for (QPushButton* button : buttons_) {
        buttonWidth = std::max(buttonWidth, button->sizeHint().width());
        buttonHeight = std::max(buttonHeight, button->sizeHint().height());
    }
    const int buttonCount = static_cast<int>(buttons_.size());
    const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * gap;

    const int width =
        std::max({px(427), group1Width + 2 * gap, group2Width + 2 * gap, buttonsWidth + 2 * gap});
    const int stripHeight = buttonHeight + px(9);
    const int group2Top = gap + group1Height;
    const int group2Height = std::max(checkTop + px(4) + frame2.bottom(), px(300) - px(34) - group2Top - gap);
    const int height = group2Top + group2Height + gap + stripHeight;
    groupBox1_->setGeometry(gap, gap, width - 2 * gap, group1Height);
    groupBox2_->setGeometry(gap, group2Top, width - 2 * gap, group2Height);
    panel2_->setGeometry(0, height - stripHeight, width, stripHeight);
    int left = width - gap - buttonsWidth;
    for (QPushButton* button : buttons_) {
        button->setGeometry(left, px(2), buttonWidth, buttonHeight);
        left += buttonWidth + gap;
    }
    setFixedSize(width, height);
}

void TOptionDlg::changeEvent(QEvent* event) {
    // The groups take their new frames from the font before the dialog hears of it.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        relayout();
    QDialog::changeEvent(event);
}

void TOptionDlg::acOptionExecute() {
    sudDataMax->setPosition(session_.dataMax());
    cbReadOnly->setChecked(session_.confirmReadOnly());
    cbAutostart->setChecked(startup_ && startup_->state() == StartupEntry::State::ThisProgram);
    Memo1->setFocus();
    Memo1->selectAll();
    widgets::centreOnScreen(*this);
    if (exec() != QDialog::Accepted)
        return;
    session_.setConfirmReadOnly(cbReadOnly->isChecked());
    session_.setDataMax(accepted_);
    applyAutostart();
}

void TOptionDlg::applyAutostart() {
    if (!startup_)
        return;
    const bool registered = startup_->state() == StartupEntry::State::ThisProgram;
    if (cbAutostart->isChecked() == registered)
        return;
    if (!(cbAutostart->isChecked() ? startup_->write() : startup_->remove()))
        MessageBox::error(
            this,
            tr("自動起動の登録を変更できませんでした。\n%1").arg(QString::fromStdString(startup_->path())));
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
        MessageBox::show(this, tr("数値を%1～%2の間で指定してください").arg(kDataMaxMin).arg(kDataMaxMax),
                         MessageBox::Plain, tr("数値入力について"));
        Memo1->setFocus();
        Memo1->selectAll();
        return;
    }
    const int limit = static_cast<int>(*typed);
    const int held = session_.items().ItemCount();
    if (limit < held) {
        const QString question =
            tr("履歴数を%1にすると、古いほうから%2個のファイルが履歴から削除されます。よろしいですか？")
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
    setWindowTitle(tr("バージョン情報"));
    // The designed places at a 12-pixel line, grown with larger fonts.
    const double scale = std::max(1.0, QFontMetrics(font()).height() / 12.0);
    const auto px = [scale](int length) { return static_cast<int>(std::lround(length * scale)); };
    setFixedSize(px(345), px(213));
    auto* panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1->setGeometry(px(8), px(8), px(329), px(161));
    auto* icon = new QLabel(panel1);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setGeometry(px(8), px(8), px(65), px(57));
    icon->setPixmap(programIcon().pixmap(px(65), px(57)));
    icon->setScaledContents(true);
    label(QStringLiteral("Product Name"), panel1, px(88), px(16));
    label(QStringLiteral("Vendle"), panel1, px(176), px(16))->setObjectName(QStringLiteral("Label1"));
    label(QStringLiteral("Version"), panel1, px(88), px(40));
    VersionNumber = label(QStringLiteral("0.0.0.0"), panel1, px(176), px(40));
    VersionNumber->setObjectName(QStringLiteral("VersionNumber"));
    label(QStringLiteral("Copyright"), panel1, px(8), px(80));
    label(tr("Vendle の開発者"), panel1, px(80), px(80))->setObjectName(QStringLiteral("Label2"));
    label(tr("起動回数"), panel1, px(8), px(104))->setObjectName(QStringLiteral("Label3"));
    ExecCount = label(tr("n回"), panel1, px(80), px(104));
    ExecCount->setObjectName(QStringLiteral("ExecCount"));
    label(tr("使用時間"), panel1, px(8), px(128))->setObjectName(QStringLiteral("Label4"));
    TotalExecTime = label(tr("00時間00分00秒"), panel1, px(80), px(128));
    TotalExecTime->setObjectName(QStringLiteral("TotalExecTime"));
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(px(143), px(180), px(75), px(25));
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
    ExecCount->setText(tr("%1回").arg(ini.ExecCount()));
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
