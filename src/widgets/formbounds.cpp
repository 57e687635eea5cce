#include "formbounds.h"

#include <QGuiApplication>
#include <QScreen>

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

void applyPlacement(QWidget& window, const WindowPlacement& placement) {
    if (placement.normal.width() > 0 && placement.normal.height() > 0)
        window.setGeometry(toQRect(keepOnScreen(placement.normal, availableScreenRects())));
    Qt::WindowStates states = window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (placement.state == WindowPlacement::Minimized)
        states |= Qt::WindowMinimized;
    else if (placement.state == WindowPlacement::Maximized)
        states |= Qt::WindowMaximized;
    // setWindowState never shows a hidden window, so restoring at start-up keeps it hidden.
    window.setWindowState(states);
}

void ReadFormBounds(const MemIniFile& ini, std::string_view section, std::string_view key, QWidget& window) {
    const auto placement = parsePlacement(ini.ReadString(section, key, ""), placementOf(window));
    if (placement)
        applyPlacement(window, *placement);
}

void WriteFormBounds(MemIniFile& ini, std::string_view section, std::string_view key, const QWidget& window) {
    ini.WriteString(section, key, formatPlacement(placementOf(window)));
}

void ReadColWidths(const MemIniFile& ini, std::string_view section, std::string_view key,
                   QHeaderView& header) {
    const auto widths = parseColWidths(ini.ReadString(section, key, "0"), header.count());
    if (!widths)
        return;
    for (std::size_t i = 0; i < widths->size(); ++i)
        header.resizeSection(static_cast<int>(i), (*widths)[i]);
}

void WriteColWidths(MemIniFile& ini, std::string_view section, std::string_view key,
                    const QHeaderView& header) {
    std::vector<int> widths;
    for (int i = 0; i < header.count(); ++i)
        widths.push_back(header.sectionSize(i));
    ini.WriteString(section, key, formatColWidths(widths));
}

} // namespace vendle::widgets
