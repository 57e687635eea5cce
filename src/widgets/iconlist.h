// SPDX-License-Identifier: GPL-3.0-or-later
// The icons of document types, loaded once per icon index from the desktop's icon theme with
// fallbacks, so that painting never loads or copies an icon.
#pragma once

#include <QIcon>

#include <functional>
#include <string>
#include <vector>

namespace vendle::widgets {

class IconList {
public:
    // Theme icon names of an index, best first.
    using NameSource = std::function<std::vector<std::string>(int index)>;

    explicit IconList(NameSource names);

    // The icon of an index: the first name the theme has, else a generic document icon.
    const QIcon& icon(int index);

private:
    NameSource names_;
    std::vector<QIcon> icons_;
    std::vector<bool> loaded_;
    QIcon generic_;
};

// Under a bare X server no icon theme is set: fall back to Adwaita where it is installed.
void ensureIconTheme();

} // namespace vendle::widgets
