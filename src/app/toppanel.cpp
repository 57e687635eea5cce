// SPDX-License-Identifier: GPL-3.0-or-later
#include "toppanel.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace vendle::app {

TopPanel::TopPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel1"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = new QLabel(tr("nnn個のファイル"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->installEventFilter(this); // the notice follows the count's width
    Done = new QLabel(this);
    Done->setObjectName(QStringLiteral("Done"));
    Done->setTextFormat(Qt::RichText);
    Done->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    Done->hide();
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    relayout();
}

void TopPanel::relayout() {
    const int line = QFontMetrics(font()).height();
    const int editHeight = std::max(Edit1->sizeHint().height(), line + 4);
    const int editTop = 3 + line;
    Label1->setGeometry(0, 2, std::max(0, width() - 4), line);
    Label2->setGeometry(8, 3, std::max(Label2->sizeHint().width(), 0), line);
    Done->setGeometry(Label2->geometry().right() + line, 3, Done->sizeHint().width(), line);
    // The search box keeps its right margin.
    Edit1->setGeometry(8, editTop, std::max(40, width() - 8 - 9), editHeight);
    setFixedHeight(editTop + editHeight + 5);
}

bool TopPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2 && event->type() == QEvent::Resize)
        Done->move(Label2->geometry().right() + QFontMetrics(font()).height(), Done->y());
    return QFrame::eventFilter(watched, event);
}

void TopPanel::resizeEvent(QResizeEvent* event) {
    relayout();
    QFrame::resizeEvent(event);
}

void TopPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        relayout();
    QFrame::changeEvent(event);
}

} // namespace vendle::app
