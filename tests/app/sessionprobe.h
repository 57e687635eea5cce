// SPDX-License-Identifier: GPL-3.0-or-later
// A change of the history that no command of the program makes, for tests and the benchmark: the
// session's model is reset around it as around the session's own operations.
#pragma once

#include "app/historysession.h"

#include <functional>

namespace vendle::test {

class SessionProbe {
public:
    static void change(app::HistorySession& session, const std::function<void(HistoryList&)>& edit) {
        session.change(edit);
    }
};

inline void changeHistory(app::HistorySession& session, const std::function<void(HistoryList&)>& edit) {
    SessionProbe::change(session, edit);
}

} // namespace vendle::test
