// SPDX-License-Identifier: GPL-3.0-or-later
#include "verinfo.h"

#include "core/errors.h"

#include <QWidget>

namespace vendle::widgets {

TAVerInfo::TAVerInfo(QObject* owner, Version version) : QObject(owner), version_(version) {}

void TAVerInfo::setShowVer(bool show) {
    if (show == showVer_)
        return;
    showVer_ = show;
    UpdateCaption();
}

int TAVerInfo::GetVersion(int type) const {
    if (type < vtMajor || type > vtBuild)
        throw Error("FAILED(VER) 'wrong VersionType'");
    return version_[static_cast<std::size_t>(type)];
}

void TAVerInfo::UpdateCaption() {
    auto* window = qobject_cast<QWidget*>(parent());
    if (!window || !window->isWindow())
        throw Error(tr("TVerInfoのOwnerはTFormの派生クラスに限られます。").toStdString());
    if (showVer_) {
        if (savedCaption_.isEmpty())
            savedCaption_ = window->windowTitle();
        window->setWindowTitle(savedCaption_ + QStringLiteral(" - %1.%2.%3.%4")
                                                   .arg(GetMajor())
                                                   .arg(GetMinor())
                                                   .arg(GetRelease())
                                                   .arg(GetBuild()));
    } else if (!savedCaption_.isEmpty()) {
        window->setWindowTitle(savedCaption_);
    }
}

} // namespace vendle::widgets
