#include "toppanel.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace vendle::app {

TopPanel::TopPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel1"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setFixedHeight(41);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = new QLabel(QStringLiteral("nnn個のファイル"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 3);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 16, 401, 20);
}

void TopPanel::resizeEvent(QResizeEvent* event) {
    // Label1 spans the first line and the search box keeps its right margin.
    Label1->setGeometry(0, 2, width() - 4, 12);
    Edit1->resize(std::max(40, width() - 8 - 9), 20);
    QFrame::resizeEvent(event);
}

} // namespace vendle::app
