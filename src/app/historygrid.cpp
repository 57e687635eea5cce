// SPDX-License-Identifier: GPL-3.0-or-later
#include "historygrid.h"

#include "app/historymodel.h"
#include "app/viewkeeper.h"
#include "core/celltext.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace vendle::app {

namespace {

constexpr int kMargin = 3;
constexpr int kIconSize = 16;
constexpr int kIconAdvance = 19;

void drawInRect(QPainter& painter, const QString& text, const QRect& rect, Qt::Alignment horizontal) {
    painter.drawText(rect, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), text);
}

} // namespace

void drawTextHighlighted(QPainter& painter, const QString& search, const QColor& colour, const QString& text,
                         const QRect& rect, const TextFolder* folder) {
    const std::string bytes = text.toStdString();
    const std::string needle = search.toStdString();
    const auto split = folder ? highlightSplitFolded(bytes, needle, *folder)
                              : highlightSplit(bytes, needle, CodePage::utf8());
    if (!split) {
        drawInRect(painter, text, rect, Qt::AlignLeft);
        return;
    }
    QRect r = rect;
    const QString before =
        QString::fromUtf8(split->before.data(), static_cast<qsizetype>(split->before.size()));
    const QString match = QString::fromUtf8(split->match.data(), static_cast<qsizetype>(split->match.size()));
    const QString after = QString::fromUtf8(split->after.data(), static_cast<qsizetype>(split->after.size()));
    drawInRect(painter, before, r, Qt::AlignLeft);
    r.setLeft(r.left() + painter.fontMetrics().horizontalAdvance(before));

    const QFont plain = painter.font();
    const QPen pen = painter.pen();
    QFont strong = plain;
    strong.setBold(true);
    strong.setUnderline(true);
    painter.setFont(strong);
    painter.setPen(colour);
    drawInRect(painter, match, r, Qt::AlignLeft);
    r.setLeft(r.left() + painter.fontMetrics().horizontalAdvance(match));
    painter.setFont(plain);
    painter.setPen(pen);
    drawInRect(painter, after, r, Qt::AlignLeft);
}

namespace {

// The relative luminance and contrast ratio of the Web Content Accessibility Guidelines.
double luminance(const QColor& colour) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor matchColour(const QPalette& palette, bool selected) {
    const QColor back = palette.color(selected ? QPalette::Highlight : QPalette::Base);
    // On the selection the match keeps the selection's own text colour (its bold underline marks
    // it); elsewhere it is red, dark on a light background and light on a dark one.
    const bool darkBack = luminance(back) < 0.18;
    const QColor candidates[] = {selected ? palette.color(QPalette::HighlightedText)
                                          : QColor(0xC0, 0x00, 0x00),
                                 darkBack ? QColor(0xFF, 0x8A, 0x80) : QColor(0x9A, 0x00, 0x00),
                                 darkBack ? QColor(Qt::white) : QColor(Qt::black)};
    for (const QColor& colour : candidates) {
        if (contrastRatio(colour, back) >= 4.5)
            return colour;
    }
    return contrastRatio(Qt::white, back) > contrastRatio(Qt::black, back) ? QColor(Qt::white)
                                                                           : QColor(Qt::black);
}

QString GridDelegate::shortFolder(const QString& folder, int width, const QFont& font,
                                  const PathSyntax& syntax) const {
    if (width != shortWidth_ || font != shortFont_ || shortFolders_.size() > 4096) {
        shortFolders_.clear();
        shortWidth_ = width;
        shortFont_ = font;
    }
    const auto known = shortFolders_.constFind(folder);
    if (known != shortFolders_.constEnd())
        return *known;
    const QFontMetrics fm(font);
    const std::string shortened = ShortenPath(folder.toStdString(), width, syntax, [&fm](std::string_view s) {
        return fm.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
    });
    return *shortFolders_.insert(folder, QString::fromStdString(shortened));
}

GridDelegate::GridDelegate(const GridState& state, QObject* parent)
    : QStyledItemDelegate(parent), state_(state) {}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const auto* model = qobject_cast<const HistoryTableModel*>(index.model());
    if (!model)
        return;
    painter->save();
    const int column = index.column();
    QRect rect = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const bool current = option.state & QStyle::State_HasFocus;
    const QPalette& pal = option.palette;
    // The row-number column looks like a fixed column; other cells use the view's colours, the
    // focused one included in the selection colours.
    if (column == ColumnNumber)
        qDrawShadePanel(painter, rect, pal, false, 1, &pal.brush(QPalette::Button));
    else if (selected || current)
        painter->fillRect(rect, pal.brush(QPalette::Highlight));
    else
        painter->fillRect(rect, pal.brush(QPalette::Base));
    // A document on a volume that is away shows greyed.
    const bool away = column != ColumnNumber && model->history().ViewCount() > index.row() &&
                      model->history().ViewItem(index.row()).Unavailable;
    painter->setPen(column != ColumnNumber && (selected || current) ? pal.color(QPalette::HighlightedText)
                    : away ? pal.color(QPalette::Disabled, QPalette::Text)
                           : pal.color(QPalette::Text));
    painter->setFont(option.font);
    painter->setClipRect(rect);
    rect.adjust(kMargin, 0, -kMargin, 0);

    if (column == ColumnNumber) {
        drawInRect(*painter, QString::number(index.row() + 1), rect, Qt::AlignHCenter);
        painter->restore();
        return;
    }
    const HistoryList& history = model->history();
    QString text = model->cellText(index);
    if (column == ColumnName && history.ViewCount() > 0) {
        const QIcon icon = model->iconOf(history.ViewItem(index.row()).IconIndex);
        icon.paint(painter, QRect(rect.left(), rect.top() + 1, kIconSize, kIconSize));
        rect.setLeft(rect.left() + kIconAdvance);
        // A name too long for the cell loses its middle: its start and its extension stay.
        text = QFontMetrics(painter->font()).elidedText(text, Qt::ElideMiddle, rect.width());
    }
    if (column == ColumnFolder)
        text = shortFolder(text, rect.width(), painter->font(), history.syntax());
    if (column == ColumnName || column == ColumnFolder)
        drawTextHighlighted(*painter, state_.searchText ? state_.searchText() : QString(),
                            matchColour(pal, selected || current), text, rect,
                            state_.folder ? state_.folder() : nullptr);
    else if (column == ColumnType) // a type too long for the cell ends in "…"
        drawInRect(*painter, QFontMetrics(painter->font()).elidedText(text, Qt::ElideRight, rect.width()),
                   rect, Qt::AlignLeft);
    else
        drawInRect(*painter, text, rect, column == ColumnTime ? Qt::AlignHCenter : Qt::AlignLeft);
    painter->restore();
}

GridHeader::GridHeader(const GridState& state, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), state_(state) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.text.clear();
    opt.sortIndicator = QStyleOptionHeader::None;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);

    QRect r = rect;
    const bool pressed = state_.pressedColumn && state_.pressedColumn() == logicalIndex;
    if (pressed) {
        qDrawShadePanel(painter, r, palette(), true, 1);
        r.setTop(r.top() + 2);
    }
    r.adjust(kMargin, 0, -kMargin, 0);
    painter->setPen(palette().color(QPalette::ButtonText));
    const QString title = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    drawInRect(*painter, title, r, Qt::AlignHCenter);
    if (state_.sortColumn && state_.sortColumn() == logicalIndex) {
        const QPixmap& arrow =
            state_.sortDescending && state_.sortDescending() ? state_.downArrow : state_.upArrow;
        painter->drawPixmap(r.right() + 1 - arrow.width(), r.bottom() + 1 - arrow.height() - 3, arrow);
    }
    painter->restore();
}

void GridHeader::mouseReleaseEvent(QMouseEvent* event) {
    QHeaderView::mouseReleaseEvent(event);
    emit sectionReleased();
}

namespace {

// The row-number column that stays put: a view of column 0 over the grid's own. Its cells never
// become current; a double click there acts on the row, a wheel scrolls the grid.
class FixedColumn final : public QTableView {
public:
    explicit FixedColumn(HistoryGridView& grid) : QTableView(&grid), grid_(grid) {
        setFocusPolicy(Qt::NoFocus);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFrameShape(QFrame::NoFrame);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setShowGrid(true);
        verticalHeader()->hide();
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setMinimumSectionSize(18);
        verticalHeader()->setDefaultSectionSize(18);
        horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        setItemDelegate(grid.itemDelegate());
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        HistoryGridView::GridSelectCell(ColumnNumber); // refused, with the beep
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            grid_.doubleClickOnRow(index.row());
        event->accept();
    }
    void wheelEvent(QWheelEvent* event) override { QCoreApplication::sendEvent(grid_.viewport(), event); }

private:
    HistoryGridView& grid_;
};

} // namespace

HistoryGridView::HistoryGridView(GridState state, QWidget* parent)
    : QTableView(parent), state_(std::move(state)) {
    header_ = new GridHeader(state_, this);
    setHorizontalHeader(header_);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setStretchLastSection(false);
    setItemDelegate(new GridDelegate(state_, this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(18);
    verticalHeader()->setDefaultSectionSize(18);
    setShowGrid(true);
    // One block of rows at most: every command acts on exactly what is highlighted, and a block
    // is what the user sees at a glance. Ctrl+click starts a new block.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setSortingEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    keeper_ = new ViewKeeper(*this);
    fixed_ = new FixedColumn(*this);
    fixed_->setHorizontalHeader(new GridHeader(state_, fixed_));
    fixed_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    viewport()->stackUnder(fixed_);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, fixed_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    // After a reset the row numbers' view lays its rows out later than the grid: a value set
    // before then was cut to its old range, so it follows the grid again once its range is known.
    connect(fixed_->verticalScrollBar(), &QAbstractSlider::rangeChanged, this,
            [this] { fixed_->verticalScrollBar()->setValue(verticalScrollBar()->value()); });
    connect(header_, &QHeaderView::sectionResized, this, [this](int column, int, int newSize) {
        if (column == ColumnNumber)
            layoutFixedColumn();
        // A width given by the user or the stored settings is the name column's own.
        if (column == ColumnName && !filling_)
            nameBase_ = newSize;
    });
}

HistoryTableModel* HistoryGridView::historyModel() const {
    return qobject_cast<HistoryTableModel*>(model());
}

QString HistoryGridView::tooltipFor(const QModelIndex& index) const {
    const HistoryTableModel* m = historyModel();
    if (!m || !index.isValid() || index.column() == ColumnNumber)
        return {};
    const QString text = m->cellText(index);
    return visualRect(index).width() < fontMetrics().horizontalAdvance(text) ? text : QString();
}

bool HistoryGridView::GridSelectCell(int column) {
    if (column == ColumnName || column == ColumnFolder)
        return true;
    QApplication::beep();
    return false;
}

QModelIndex HistoryGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (target.isValid() && target.column() != currentIndex().column() && !GridSelectCell(target.column()))
        return model()->index(target.row(), currentIndex().column());
    return target;
}

QItemSelectionModel::SelectionFlags HistoryGridView::selectionCommand(const QModelIndex& index,
                                                                      const QEvent* event) const {
    if (event && event->type() == QEvent::MouseButtonPress) {
        const auto modifiers = static_cast<const QMouseEvent*>(event)->modifiers();
        if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::ShiftModifier))
            return QItemSelectionModel::ClearAndSelect;
    }
    return QTableView::selectionCommand(index, event);
}

void HistoryGridView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        event->accept(); // the context menu event that follows decides what becomes current
        return;
    }
    if (index.isValid() && !GridSelectCell(index.column())) {
        event->accept(); // refused: the current cell stays where it was
        return;
    }
    QTableView::mousePressEvent(event);
}

void HistoryGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid()) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    if (index.column() != ColumnName && index.column() != ColumnFolder) {
        QApplication::beep();
        doubleClickOnRow(index.row());
        return;
    }
    setCurrentIndex(index);
    emit doubleClicked(index);
}

void HistoryGridView::doubleClickOnRow(int row) {
    const int column = currentIndex().isValid() ? currentIndex().column() : int(ColumnName);
    setCurrentIndex(model()->index(row, column));
    emit doubleClicked(currentIndex());
}

void HistoryGridView::setModel(QAbstractItemModel* m) {
    QTableView::setModel(m);
    // The keeper follows the model's resets after both views have reset the shared selection.
    const auto watch = qScopeGuard([&] { keeper_->watch(m); });
    if (!fixed_)
        return;
    fixed_->setModel(m);
    if (!m)
        return;
    fixed_->setSelectionModel(selectionModel());
    for (int column = ColumnNumber + 1; column < kColumnCount; ++column)
        fixed_->setColumnHidden(column, true);
    layoutFixedColumn();
}

void HistoryGridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fillWithNameColumn();
    layoutFixedColumn();
}

void HistoryGridView::fitTimeColumn(const QString& longestTime) {
    const int needed = QFontMetrics(font()).horizontalAdvance(longestTime) + 2 * kMargin + 6;
    if (columnWidth(ColumnTime) < needed)
        setColumnWidth(ColumnTime, needed);
}

void HistoryGridView::withGivenWidths(const std::function<void()>& use) {
    if (nameBase_ >= 0) {
        filling_ = true;
        setColumnWidth(ColumnName, nameBase_);
        filling_ = false;
    }
    use();
    fillWithNameColumn();
}

void HistoryGridView::fillWithNameColumn() {
    if (!model() || filling_)
        return;
    if (nameBase_ < 0)
        nameBase_ = columnWidth(ColumnName);
    int others = 0;
    for (int c = 0; c < kColumnCount; ++c) {
        if (c != ColumnName)
            others += columnWidth(c);
    }
    const int target = std::max(nameBase_, viewport()->width() - others);
    if (target != columnWidth(ColumnName)) {
        filling_ = true;
        setColumnWidth(ColumnName, target);
        filling_ = false;
    }
}

void HistoryGridView::layoutNow() {
    executeDelayedItemsLayout();
    updateGeometries();
}

void HistoryGridView::updateGeometries() {
    QTableView::updateGeometries();
    layoutFixedColumn();
}

void HistoryGridView::layoutFixedColumn() {
    if (!fixed_)
        return;
    fixed_->setColumnWidth(ColumnNumber, columnWidth(ColumnNumber));
    fixed_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    fixed_->setGeometry(frameWidth(), frameWidth(), columnWidth(ColumnNumber),
                        viewport()->height() + horizontalHeader()->height());
    fixed_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

bool HistoryGridView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = tooltipFor(indexAt(help->pos()));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(indexAt(help->pos())));
        return true;
    }
    return QTableView::viewportEvent(event);
}

} // namespace vendle::app
