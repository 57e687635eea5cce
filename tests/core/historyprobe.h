// SPDX-License-Identifier: GPL-3.0-or-later
// What tests and the benchmark do to a history that the program never does: a view set by hand,
// a view or a sorted order made stale on purpose.
#pragma once

#include "core/history.h"

#include <utility>
#include <vector>

namespace vendle::test {

class HistoryProbe {
public:
    static void setView(HistoryList& list, std::vector<const HistoryItem*> view) {
        list.setView(std::move(view));
    }
    static void forgetViewBasis(HistoryList& list) { list.forgetViewBasis(); }
    static void markStale(HistoryList& list) { list.markStale(); }
};

} // namespace vendle::test
