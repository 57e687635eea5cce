// SPDX-License-Identifier: GPL-3.0-or-later
#include "iconlist.h"

#include <QApplication>
#include <QStyle>

namespace vendle::widgets {

IconList::IconList(NameSource names) : names_(std::move(names)) {}

const QIcon& IconList::icon(int index) {
    if (index < 0)
        index = 0;
    const auto i = static_cast<std::size_t>(index);
    if (i >= icons_.size()) {
        icons_.resize(i + 1);
        loaded_.resize(i + 1, false);
    }
    if (!loaded_[i]) {
        loaded_[i] = true;
        for (const std::string& name : names_ ? names_(index) : std::vector<std::string>()) {
            const QIcon candidate = QIcon::fromTheme(QString::fromStdString(name));
            if (!candidate.isNull()) {
                icons_[i] = candidate;
                break;
            }
        }
        if (icons_[i].isNull()) {
            if (generic_.isNull() && QApplication::style())
                generic_ = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
            icons_[i] = generic_;
        }
    }
    return icons_[i];
}

void ensureIconTheme() {
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

} // namespace vendle::widgets
