// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the program's moves from phase to phase, and the refusal of any other.
#include "app/life.h"

#include "platform/logging.h"

namespace vendle::app {

bool Life::allows(Phase from, Phase to) {
    switch (from) {
    case Phase::Starting:
        return to == Phase::Running || to == Phase::Abandoned;
    case Phase::Running:
        return to == Phase::Saving;
    case Phase::Saving:
        return to == Phase::Running || to == Phase::Ending;
    case Phase::Ending:
    case Phase::Abandoned:
        return false;
    }
    return false;
}

bool Life::enter(Phase next) {
    if (!allows(phase_, next)) {
        qCCritical(lcUi) << "refused move of the program's life from" << phaseName(phase_) << "to"
                         << phaseName(next);
        Q_ASSERT_X(false, "Life::enter", "a move outside the table");
        return false;
    }
    phase_ = next;
    emit changed(next);
    return true;
}

const char* phaseName(Phase phase) {
    switch (phase) {
    case Phase::Starting:
        return "Starting";
    case Phase::Running:
        return "Running";
    case Phase::Saving:
        return "Saving";
    case Phase::Ending:
        return "Ending";
    case Phase::Abandoned:
        return "Abandoned";
    }
    return "?";
}

} // namespace vendle::app
