// SPDX-License-Identifier: GPL-3.0-or-later
// The phase of the program's life, held in one place: the start, the running program, a save under
// way, the end, or a start given up before the user answered. Looks at the desktop's record,
// reports and exit paths ask it instead of keeping flags of their own.
#pragma once

#include <QObject>

namespace vendle::app {

enum class Phase {
    Starting,  // the settings, the welcome, the history being loaded; no look, no window yet
    Running,   // the user's: looks, reports, the window
    Saving,    // settings and history being written; no look, no report
    Ending,    // saved; the event loop ends
    Abandoned, // told to end before the start was over: nothing of this run is written
};

class Life : public QObject {
    Q_OBJECT

public:
    Phase phase() const { return phase_; }
    bool is(Phase phase) const { return phase_ == phase; }
    // Ending and Abandoned are for good: nothing leaves them.
    void enter(Phase next) {
        if (phase_ == next || phase_ == Phase::Ending || phase_ == Phase::Abandoned)
            return;
        phase_ = next;
        emit changed(next);
    }

signals:
    void changed(vendle::app::Phase phase);

private:
    Phase phase_ = Phase::Starting;
};

} // namespace vendle::app
