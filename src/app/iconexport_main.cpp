// SPDX-License-Identifier: GPL-3.0-or-later
// vendle-iconexport: writes the application icon, as the program draws it, as PNG files in the
// sizes of the freedesktop icon theme (DIR/<n>x<n>/apps/ID.png), for installing beside the SVG.
#include "app/icons.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vendle-iconexport FOLDER ICON-ID\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString id = QString::fromLocal8Bit(argv[2]);
    const QIcon icon = vendle::app::applicationIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(dir) ||
            !icon.pixmap(size, size).save(dir + QLatin1Char('/') + id + QStringLiteral(".png"))) {
            std::fprintf(stderr, "vendle-iconexport: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
