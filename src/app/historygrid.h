// SPDX-License-Identifier: GPL-3.0-or-later
// The grid that shows the history: cells painted as the program draws them (row numbers, icons,
// folders shortened to the column, the search match bold and underlined, in red off the selection), a header
// with the sort arrow and a pressed look, and tooltips for texts that do not fit.
#pragma once

#include "core/paths.h"
#include "core/textfold.h"

#include <QFont>
#include <QHash>
#include <QHeaderView>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

namespace vendle::app {

class HistoryTableModel;
class ViewKeeper;

// What painting needs to know of the window's state.
struct GridState {
    std::function<QString()> searchText;
    std::function<const TextFolder*()> folder; // the search's folding while it ignores kana and width
    std::function<int()> sortColumn;
    std::function<bool()> sortDescending;
    std::function<int()> pressedColumn;
    QPixmap upArrow;
    QPixmap downArrow;
};

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    GridDelegate(const GridState& state, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // A folder shortened to `width` pixels in `font`. The texts are kept for the width and the font
    // they were made for: folders repeat from row to row, and shortening one measures it many times.
    QString shortFolder(const QString& folder, int width, const QFont& font, const PathSyntax& syntax) const;

private:
    const GridState& state_;
    mutable QHash<QString, QString> shortFolders_;
    mutable int shortWidth_ = -1;
    mutable QFont shortFont_;
};

class GridHeader : public QHeaderView {
    Q_OBJECT

public:
    GridHeader(const GridState& state, QWidget* parent = nullptr);

signals:
    void sectionReleased();

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const GridState& state_;
};

class HistoryGridView : public QTableView {
    Q_OBJECT

public:
    HistoryGridView(GridState state, QWidget* parent = nullptr);

    HistoryTableModel* historyModel() const;
    GridState& state() { return state_; }
    GridHeader* header() const { return header_; }

    // The tooltip text for a cell: its full text when it is wider than the cell, else empty.
    QString tooltipFor(const QModelIndex& index) const;

    // Only the file name and folder columns may hold the current cell; a move anywhere else is
    // refused with the system's beep. Clicks and keys pass through this rule.
    static bool GridSelectCell(int column);

    void setModel(QAbstractItemModel* model) override;

    // The row numbers stay at the left edge while the other columns scroll: a view of column 0
    // alone lies over it.
    QTableView* fixedColumn() const { return fixed_; }

    // A double click whose column may not become current: the row moves, the column stays, and
    // the current cell is opened.
    void doubleClickOnRow(int row);

    // Widens the time column, if need be, so that `longestTime` fits whole.
    void fitTimeColumn(const QString& longestTime);
    // The file name column takes the room the window has beyond the other columns; narrowing
    // the window gives it back, down to the width it was given.
    void fillWithNameColumn();
    // Runs `use` with the name column at the width it was given, not the width that fills the
    // window (for storing the widths), then fills again.
    void withGivenWidths(const std::function<void()>& use);

    // Keeps the current and highlighted documents across rebuilds the user did not ask for.
    ViewKeeper& keeper() const { return *keeper_; }
    // Lays the rows out now rather than at the next paint, so that scrolling can be set.
    void layoutNow();

protected:
    bool viewportEvent(QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    // Ctrl+click starts a new block where the item views would extend the old one.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    // Only the left button selects, and only where the current cell may go; a right press leaves
    // the cells to the document menu.
    void mousePressEvent(QMouseEvent* event) override;
    // A double click on a data cell makes it current and opens it, even when the view was rebuilt
    // between the two clicks; on a refused column the row moves and the current column stays.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    void layoutFixedColumn();

    GridState state_;
    GridHeader* header_ = nullptr;
    QTableView* fixed_ = nullptr;
    ViewKeeper* keeper_ = nullptr;
    int nameBase_ = -1;    // the name column's width before it was widened to fill
    bool filling_ = false; // the name column is being widened by fillWithNameColumn
};

// The contrast ratio of two colours (1 to 21), as the accessibility guidelines define it.
double contrastRatio(const QColor& a, const QColor& b);
// The colour of the search match in a cell: on the selection or elsewhere, always at a contrast of
// at least 4.5:1 with the cell's background.
QColor matchColour(const QPalette& palette, bool selected);

// Draws `text` from the rectangle's left edge with the first match of `search` in `colour`, bold
// and underlined; returns nothing. Only the rectangle is painted. With `folder` the match ignores
// kana and width as the search does.
void drawTextHighlighted(QPainter& painter, const QString& search, const QColor& colour, const QString& text,
                         const QRect& rect, const TextFolder* folder = nullptr);

} // namespace vendle::app
