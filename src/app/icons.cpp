// SPDX-License-Identifier: GPL-3.0-or-later
#include "icons.h"

#include <QGuiApplication>

#include <QPainter>
#include <QPainterPath>

namespace vendle::app {

namespace {

enum class Badge { Clock, Hourglass };

QPixmap drawIcon(int size, Badge badge) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.scale(s, s);

    // Two sheets of paper, the front one with a folded corner and text lines.
    p.setPen(QPen(QColor(70, 90, 120), 1.2));
    p.setBrush(QColor(205, 220, 240));
    p.drawRect(QRectF(3.5, 2.5, 17, 22));
    QPainterPath sheet;
    sheet.moveTo(7.5, 6.5);
    sheet.lineTo(19.5, 6.5);
    sheet.lineTo(24.5, 11.5);
    sheet.lineTo(24.5, 29.5);
    sheet.lineTo(7.5, 29.5);
    sheet.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawLine(QPointF(19.5, 6.5), QPointF(19.5, 11.5));
    p.drawLine(QPointF(19.5, 11.5), QPointF(24.5, 11.5));
    p.setPen(QPen(QColor(120, 140, 170), 1.4));
    for (qreal y : {14.0, 17.5, 21.0})
        p.drawLine(QPointF(10.5, y), QPointF(19.0, y));

    // The badge in the lower right corner.
    const QRectF badgeRect(16, 16, 15, 15);
    if (badge == Badge::Clock) {
        p.setPen(QPen(QColor(20, 90, 40), 1.5));
        p.setBrush(QColor(90, 190, 110));
        p.drawEllipse(badgeRect);
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = badgeRect.center();
        p.drawLine(c, c + QPointF(0, -4.8));
        p.drawLine(c, c + QPointF(3.6, 1.2));
    } else {
        p.setPen(QPen(QColor(140, 70, 0), 1.5));
        p.setBrush(QColor(250, 170, 40));
        p.drawEllipse(badgeRect);
        p.setPen(QPen(Qt::white, 1.4));
        p.setBrush(Qt::white);
        const QPointF c = badgeRect.center();
        QPolygonF glass;
        glass << c + QPointF(-3.5, -4.5) << c + QPointF(3.5, -4.5) << c + QPointF(-3.5, 4.5)
              << c + QPointF(3.5, 4.5);
        p.drawPolygon(glass);
    }
    return pm;
}

QIcon iconOf(Badge badge) {
    QIcon icon;
    // The sizes trays and menus ask for, and large ones for the desktop's launchers.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawIcon(size, badge));
    return icon;
}

QPixmap arrow(bool up) {
    QPixmap pm(10, 9);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(64, 64, 64));
    QPolygon tri;
    if (up)
        tri << QPoint(5, 1) << QPoint(9, 8) << QPoint(1, 8);
    else
        tri << QPoint(1, 1) << QPoint(9, 1) << QPoint(5, 8);
    p.drawPolygon(tri);
    return pm;
}

} // namespace

QIcon applicationIcon() {
    return iconOf(Badge::Clock);
}

QIcon programIcon() {
    const QIcon set = QGuiApplication::windowIcon();
    return set.isNull() ? applicationIcon() : set;
}

QIcon busyIcon() {
    return iconOf(Badge::Hourglass);
}

QPixmap upArrow() {
    return arrow(true);
}

QPixmap downArrow() {
    return arrow(false);
}

} // namespace vendle::app
