// SPDX-License-Identifier: GPL-3.0-or-later
#include "formbounds.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace vendle::widgets {

namespace {

Rect toRect(const QRect& r) {
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

WindowPlacement placementOf(const QWidget& window) {
    WindowPlacement p;
    if (window.isMinimized())
        p.state = WindowPlacement::Minimized;
    else if (window.isMaximized())
        p.state = WindowPlacement::Maximized;
    const bool resized = window.isMaximized() || window.isFullScreen() || window.isMinimized();
    const QRect normal =
        resized && window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    p.normal = toRect(normal);
    return p;
}

std::vector<Rect> availableScreenRects() {
    std::vector<Rect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects.push_back(toRect(screen->availableGeometry()));
    return rects;
}

namespace {

// The decoration around the window: measured once it is shown, a title bar's worth before.
Rect frameOf(const QWidget& window) {
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    if (window.isVisible() && outer != inner)
        return Rect{inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom()};
    const int side = 4;
    return Rect{side, std::max(24, window.fontMetrics().height() + 12), side, side};
}

} // namespace

void fitOnScreen(QWidget& window) {
    const QRect fitted =
        toQRect(fitInside(toRect(window.geometry()), availableScreenRects(), frameOf(window)));
    if (fitted != window.geometry())
        window.setGeometry(fitted);
}

void centreOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const Rect frame = frameOf(window);
    QSize size =
        window.isVisible() || window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
    size = size.boundedTo(QSize(std::max(1, area.width() - frame.left - frame.right),
                                std::max(1, area.height() - frame.top - frame.bottom)));
    const QPoint centre = area.center();
    window.setGeometry(QRect(QPoint(centre.x() - size.width() / 2,
                                    centre.y() - size.height() / 2 + (frame.top - frame.bottom) / 2),
                             size));
}

void applyPlacement(QWidget& window, const WindowPlacement& placement) {
    if (placement.normal.width() > 0 && placement.normal.height() > 0)
        window.setGeometry(toQRect(fitInside(placement.normal, availableScreenRects(), frameOf(window))));
    Qt::WindowStates states = window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (placement.state == WindowPlacement::Minimized)
        states |= Qt::WindowMinimized;
    else if (placement.state == WindowPlacement::Maximized)
        states |= Qt::WindowMaximized;
    // setWindowState never shows a hidden window, so restoring at start-up keeps it hidden.
    window.setWindowState(states);
}

void ReadFormBounds(const MemIniFile& ini, Setting setting, QWidget& window) {
    const auto placement = parsePlacement(readText(ini, setting), placementOf(window));
    if (placement)
        applyPlacement(window, *placement);
}

void WriteFormBounds(MemIniFile& ini, Setting setting, const QWidget& window, bool placeKnown) {
    WindowPlacement placement = placementOf(window);
    if (!placeKnown) {
        // The window system does not tell where the window is: the place stored last stays, else
        // the middle of the primary screen; only the size is the window's own.
        const int width = placement.normal.width();
        const int height = placement.normal.height();
        const auto stored = parsePlacement(readText(ini, setting), placement);
        if (stored && stored->normal.width() > 0 && stored->normal.height() > 0) {
            placement.normal.left = stored->normal.left;
            placement.normal.top = stored->normal.top;
        } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            placement.normal.left = area.left() + std::max(0, (area.width() - width) / 2);
            placement.normal.top = area.top() + std::max(0, (area.height() - height) / 2);
        }
        placement.normal.right = placement.normal.left + width;
        placement.normal.bottom = placement.normal.top + height;
    }
    writeText(ini, setting, formatPlacement(placement));
}

void ReadColWidths(const MemIniFile& ini, Setting setting, QHeaderView& header) {
    const auto widths = parseColWidths(readText(ini, setting), header.count());
    if (!widths)
        return;
    for (std::size_t i = 0; i < widths->size(); ++i)
        header.resizeSection(static_cast<int>(i), (*widths)[i]);
}

void WriteColWidths(MemIniFile& ini, Setting setting, const QHeaderView& header) {
    std::vector<int> widths;
    widths.reserve(static_cast<std::size_t>(header.count()));
    for (int i = 0; i < header.count(); ++i)
        widths.push_back(header.sectionSize(i));
    writeText(ini, setting, formatColWidths(widths));
}

} // namespace vendle::widgets
