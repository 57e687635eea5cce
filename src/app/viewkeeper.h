// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps what the user sees across a rebuild of the grid's view that the user did not ask for (an
// import, a re-sort, documents coming back from a volume): the current document, the highlighted
// documents and the scroll place follow the documents, wherever they now stand.
#pragma once

#include <QObject>

#include <string>
#include <unordered_set>

class QAbstractItemModel;

namespace vendle::app {

class HistoryGridView;

class ViewKeeper : public QObject {
    Q_OBJECT

public:
    explicit ViewKeeper(HistoryGridView& grid);

    // Follows the resets of the grid's model (a HistoryTableModel).
    void watch(QAbstractItemModel* model);

    // While one lives, rebuilds keep nothing: the user changed the search or a filter, and the
    // caller puts the current cell where it belongs.
    class StartOver {
    public:
        explicit StartOver(ViewKeeper& keeper) : keeper_(keeper) { ++keeper_.startingOver_; }
        ~StartOver() { --keeper_.startingOver_; }
        StartOver(const StartOver&) = delete;
        StartOver& operator=(const StartOver&) = delete;

    private:
        ViewKeeper& keeper_;
    };

private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct Kept {
        bool valid = false;
        std::string current; // the current document; empty when there was none
        int column = 0;
        int currentRow = 0;
        std::unordered_set<std::string, TextHash, std::equal_to<>> selected;
        int left = 0; // the selection's columns
        int right = 0;
        std::string anchor; // a visible document and its distance from the top row
        int anchorOffset = 0;
        bool atTop = false; // the view stood at its first row
    };

    void capture();
    void restore();

    HistoryGridView& grid_;
    QAbstractItemModel* model_ = nullptr;
    Kept kept_;
    int startingOver_ = 0;
};

} // namespace vendle::app
