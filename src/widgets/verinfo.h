// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the program's version in its owner window's caption (" - major.minor.release.build"),
// without ever stacking suffixes.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

namespace vendle::widgets {

class TAVerInfo : public QObject {
    Q_OBJECT

public:
    enum VersionType { vtMajor = 0, vtMinor = 1, vtRelease = 2, vtBuild = 3 };
    using Version = std::array<std::uint16_t, 4>;

    // `version` is the program's build-time version record.
    TAVerInfo(QObject* owner, Version version);

    bool ShowVer() const { return showVer_; }
    void setShowVer(bool show);

    // One part of the version; throws for a selector outside 0..3.
    int GetVersion(int type) const;
    int GetMajor() const { return GetVersion(vtMajor); }
    int GetMinor() const { return GetVersion(vtMinor); }
    int GetRelease() const { return GetVersion(vtRelease); }
    int GetBuild() const { return GetVersion(vtBuild); }

    // Applies ShowVer to the owner's caption; throws when the owner is no window.
    void UpdateCaption();

private:
    Version version_;
    bool showVer_ = false;
    QString savedCaption_;
};

} // namespace vendle::widgets
