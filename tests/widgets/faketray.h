// SPDX-License-Identifier: GPL-3.0-or-later
// A notification area for tests: records every call instead of showing anything.
#pragma once

#include "widgets/trayicon.h"

#include <QStringList>

namespace vendle::test {

struct TrayLog {
    int adds = 0;
    int modifies = 0;
    int removes = 0;
    QStringList tips;        // every tip the area was given, in order
    int callsWithoutTip = 0; // add/modify calls that left the tip as it was
    QMenu* nativeMenu = nullptr;
    QList<QMenu*> popups;
};

class FakeTray final : public widgets::TrayBackend {
public:
    explicit FakeTray(TrayLog& log, bool available = true) : log_(log), available_(available) {}
    bool isAvailable() const override { return available_; }
    bool add(const QIcon&, const QString* tip) override {
        ++log_.adds;
        record(tip);
        return true;
    }
    bool modify(const QIcon&, const QString* tip) override {
        ++log_.modifies;
        record(tip);
        return true;
    }
    void remove() override { ++log_.removes; }
    void setNativeMenu(QMenu* menu) override { log_.nativeMenu = menu; }
    void popup(QMenu* menu, const QPoint&) override { log_.popups.append(menu); }
    void setReceiver(widgets::TyTrayIcon*) override {}

private:
    void record(const QString* tip) {
        if (tip) {
            if (log_.tips.isEmpty() || log_.tips.last() != *tip)
                log_.tips.append(*tip);
        } else {
            ++log_.callsWithoutTip;
        }
    }
    TrayLog& log_;
    bool available_;
};

} // namespace vendle::test
