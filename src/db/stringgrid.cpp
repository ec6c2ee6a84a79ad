#include "stringgrid.h"

#include "resultset.h"

#include <QHeaderView>

#include <charconv>

StringGrid::StringGrid(QWidget* parent) : QTableView(parent)
{
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setAlternatingRowColors(false);

    // The minimum first: a larger font would otherwise silently force taller
    // rows. One uniform height, never set row by row.
    verticalHeader()->setMinimumSectionSize(DataRowHeight);
    verticalHeader()->setDefaultSectionSize(DataRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();

    QHeaderView* h = horizontalHeader();
    h->setMinimumSectionSize(0);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    h->setHighlightSections(false);
    h->setStretchLastSection(false);
    h->setFixedHeight(headerRowHeight_);

    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { applyLayout(); });
    applyLayout();
}

void StringGrid::setColCount(int n)
{
    model_.setGridColCount(n);
    widths_.resize(size_t(std::max(n, 0)), 64);
    applyLayout();
}

void StringGrid::setRowCount(int n)
{
    model_.setGridRowCount(n);
    applyLayout();
}

void StringGrid::setFixedRows(int n)
{
    model_.setFixedRows(n);
    applyLayout();
}

void StringGrid::setFixedCols(int n)
{
    model_.setFixedCols(n);
}

int StringGrid::colWidth(int col) const
{
    return col >= 0 && size_t(col) < widths_.size() ? widths_[size_t(col)] : 0;
}

void StringGrid::setColWidth(int col, int width)
{
    if (col < 0 || col >= colCount())
        return;
    widths_[size_t(col)] = std::max(width, 0);
    setColumnHidden(col, width <= 0);
    if (width > 0)
        horizontalHeader()->resizeSection(col, width);
}

void StringGrid::setHeaderRowHeight(int height)
{
    headerRowHeight_ = height;
    applyLayout();
}

int StringGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    if (i.isValid())
        return i.row() + fixedRows();
    return std::min(fixedRows(), std::max(rowCount() - 1, 0));
}

void StringGrid::setCurrentRow(int row)
{
    const int viewRow = row - fixedRows();
    if (viewRow < 0 || viewRow >= model_.rowCount())
        return;
    const QModelIndex i = model_.index(viewRow, 0);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void StringGrid::applyLayout()
{
    if (model_.inBatch())
        return; // the view catches up when the batch ends
    if (model_.fixedRows() > 0) {
        horizontalHeader()->setFixedHeight(headerRowHeight_);
        horizontalHeader()->show();
    } else {
        horizontalHeader()->hide();
        // The caption row as an ordinary row keeps the default height.
        if (model_.rowCount() > 0)
            setRowHeight(0, DefaultRowHeight);
    }
    for (int c = 0; c < colCount(); ++c) {
        const int w = colWidth(c);
        setColumnHidden(c, w <= 0);
        if (w > 0)
            horizontalHeader()->resizeSection(c, w);
    }
}

void StringGrid::finishBatch()
{
    const int keep = currentRow();
    model_.endBatch();
    applyLayout();
    // A reset loses the selection: keep the user's row where it still exists.
    if (keep >= fixedRows() && keep < rowCount())
        setCurrentRow(keep);
    else
        setCurrentRow(fixedRows());
}

void fillGrid(StringGrid& grid, const db::ResultSet& rs, const std::vector<GridColumn>& columns, int fixedCols)
{
    std::vector<int> source(columns.size(), -1);
    for (size_t c = 0; c < columns.size(); ++c)
        if (columns[c].source == GridColumn::Source::Field)
            source[c] = rs.requireColumn(columns[c].value);

    const int records = rs.recordCount();
    const int cols = int(columns.size());
    StringGrid::Batch batch(grid);
    grid.setColCount(cols);
    grid.setRowCount(records + 1);
    grid.setFixedCols(fixedCols);
    grid.setFixedRows(records != 0 ? 1 : 0);
    for (int c = 0; c < cols; ++c) {
        grid.setColWidth(c, columns[size_t(c)].width);
        grid.setCell(0, c, columns[size_t(c)].header);
    }

    GridModel& cells = grid.cells();
    std::vector<QByteArray> fixed(columns.size());
    for (size_t c = 0; c < columns.size(); ++c)
        if (columns[c].source == GridColumn::Source::Text)
            fixed[c] = columns[c].value.toUtf8();

    char number[16];
    for (int r = 0; r < records; ++r) {
        const int row = r + 1;
        for (int c = 0; c < cols; ++c) {
            switch (columns[size_t(c)].source) {
            case GridColumn::Source::Field: {
                const std::string_view v = rs.raw(r, source[size_t(c)]);
                cells.setCellUtf8(row, c, v.data(), v.size());
                break;
            }
            case GridColumn::Source::RecNo: {
                const auto res = std::to_chars(number, number + sizeof number, row);
                cells.setCellUtf8(row, c, number, size_t(res.ptr - number));
                break;
            }
            case GridColumn::Source::Text:
                cells.setCellUtf8(row, c, fixed[size_t(c)].constData(), size_t(fixed[size_t(c)].size()));
                break;
            }
        }
    }
}
