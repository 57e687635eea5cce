// SPDX-License-Identifier: GPL-3.0-or-later
// The phase of the program's life, held in one place: the start, the running program, a save under
// way, the end, or a start given up before the user answered. Looks at the desktop's record,
// reports and exit paths ask it instead of keeping flags of their own; it takes only the moves of
// its table.
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
    // Ending or Abandoned: nothing leaves them.
    bool over() const { return phase_ == Phase::Ending || phase_ == Phase::Abandoned; }

    // The moves a life may make: Starting → Running | Abandoned, Running → Saving,
    // Saving → Running (the save failed, or the session did not end) | Ending.
    static bool allows(Phase from, Phase to);
    // Takes a move of the table and tells who listens; any other move is a fault of the caller:
    // it is logged, asserted in a debug build and refused (false).
    bool enter(Phase next);

signals:
    void changed(vendle::app::Phase phase);

private:
    Phase phase_ = Phase::Starting;
};

const char* phaseName(Phase phase);

} // namespace vendle::app
