// Entry point of Vendle.
#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendle"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vendle"));
    vendle::app::TVendleMainForm mainForm;
    mainForm.show();
    return QApplication::exec();
}
