#include "mainwindow.h"

#include <QLabel>

namespace vendle::app {

TVendleMainForm::TVendleMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("VendleMainForm"));
    setWindowTitle(QStringLiteral("Vendle"));
    auto* panel2 = new QLabel(QStringLiteral("まだ、利用可能なデータはありません。"), this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setAlignment(Qt::AlignCenter);
    setCentralWidget(panel2);
    resize(640, 400);
}

} // namespace vendle::app
