#include "gridmodel.h"

#include "db/resultset.h"

#include <QBrush>
#include <QColor>

#include <charconv>

#include <cstring>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace {
constexpr size_t kBlock = 256 * 1024;
}

void GridModel::beginBatch()
{
    if (batch_++ == 0)
        beginResetModel();
}

void GridModel::endBatch()
{
    if (batch_ > 0 && --batch_ == 0) {
        compactIfWasteful();
        endResetModel();
    }
}

void GridModel::forget(const Cell& c)
{
    if (c.owned)
        liveOwned_ -= c.size;
}

void GridModel::setGridRowCount(int rows)
{
    rows = std::max(rows, 0);
    if (rows == rows_)
        return;
    const int oldViewRows = rowCount();
    const int newViewRows = std::max(rows - fixedRows_, 0);
    const bool signal = batch_ == 0 && rows >= fixedRows_ && rows_ >= fixedRows_;
    if (signal && newViewRows > oldViewRows)
        beginInsertRows({}, oldViewRows, newViewRows - 1);
    else if (signal && newViewRows < oldViewRows)
        beginRemoveRows({}, newViewRows, oldViewRows - 1);
    else if (!signal && batch_ == 0)
        beginResetModel();

    for (size_t i = size_t(rows) * size_t(cols_); i < cells_.size(); ++i)
        forget(cells_[i]);
    for (auto it = marks_.begin(); it != marks_.end();)
        it = it.key() >= rows ? marks_.erase(it) : std::next(it);
    cells_.resize(size_t(rows) * size_t(cols_));
    rows_ = rows;

    if (signal && newViewRows > oldViewRows)
        endInsertRows();
    else if (signal && newViewRows < oldViewRows)
        endRemoveRows();
    else if (!signal && batch_ == 0)
        endResetModel();
    if (batch_ == 0)
        compactIfWasteful();
}

void GridModel::setGridColCount(int cols)
{
    cols = std::max(cols, 0);
    if (cols == cols_)
        return;
    if (batch_ == 0)
        beginResetModel();
    std::vector<Cell> next(size_t(rows_) * size_t(cols));
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) {
            const Cell& old = at(r, c);
            if (c < cols)
                next[size_t(r) * size_t(cols) + size_t(c)] = old;
            else
                forget(old);
        }
    cells_.swap(next);
    cols_ = cols;
    if (batch_ == 0)
        endResetModel();
}

void GridModel::setFixedRows(int n)
{
    n = std::clamp(n, 0, 1);
    if (n == fixedRows_)
        return;
    if (batch_ == 0)
        beginResetModel();
    fixedRows_ = n;
    if (batch_ == 0)
        endResetModel();
}

void GridModel::setFixedCols(int n)
{
    n = std::clamp(n, 0, 1);
    if (n == fixedCols_)
        return;
    fixedCols_ = n;
    if (batch_ == 0 && rowCount() > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

QString GridModel::cell(int row, int col) const
{
    if (!inRange(row, col))
        throw std::out_of_range("grid cell out of range");
    const Cell& c = at(row, col);
    return QString::fromUtf8(c.text, qsizetype(c.size));
}

QByteArrayView GridModel::cellUtf8(int row, int col) const
{
    if (!inRange(row, col))
        throw std::out_of_range("grid cell out of range");
    const Cell& c = at(row, col);
    return QByteArrayView(c.text, qsizetype(c.size));
}

void GridModel::setNoteColumn(int col, int noteCol)
{
    for (auto& n : notes_)
        if (n.first == col) {
            n.second = noteCol;
            return;
        }
    notes_.emplace_back(col, noteCol);
}

void GridModel::setCell(int row, int col, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    setCellUtf8(row, col, utf8.constData(), size_t(utf8.size()));
}

const char* GridModel::copyText(const char* data, size_t size)
{
    if (size == 0)
        return nullptr;
    if (size > blockCap_ - blockUsed_) {
        blockCap_ = std::max(kBlock, size);
        blocks_.push_back(std::make_unique<char[]>(blockCap_));
        blockUsed_ = 0;
    }
    char* dst = blocks_.back().get() + blockUsed_;
    std::memcpy(dst, data, size);
    blockUsed_ += size;
    ownedBytes_ += size;
    return dst;
}

void GridModel::setCellUtf8(int row, int col, const char* data, size_t size)
{
    assign(row, col, data, size, true);
}

void GridModel::setCellRef(int row, int col, const char* data, size_t size)
{
    assign(row, col, data, size, false);
}

void GridModel::assign(int row, int col, const char* data, size_t size, bool copy)
{
    if (!inRange(row, col))
        throw std::out_of_range("grid cell out of range");
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("grid text too large");
    Cell& c = at(row, col);
    forget(c);
    c.text = copy ? copyText(data, size) : data;
    c.size = std::uint32_t(size);
    c.owned = copy;
    if (copy)
        liveOwned_ += size;
    if (batch_ == 0) {
        cellChanged(row, col);
        compactIfWasteful();
    }
}

void GridModel::keepAlive(std::shared_ptr<const void> buffer)
{
    kept_.push_back(std::move(buffer));
}

void GridModel::clearText()
{
    std::fill(cells_.begin(), cells_.end(), Cell{});
    blocks_.clear();
    blockCap_ = blockUsed_ = 0;
    ownedBytes_ = 0;
    liveOwned_ = 0;
    kept_.clear();
    marks_.clear();
}

void GridModel::setRowMark(int row, const QColor& tint, const QString& note)
{
    if (row < fixedRows_ || row >= rows_)
        throw std::out_of_range("grid row out of range");
    if (!tint.isValid() && note.isEmpty())
        marks_.remove(row);
    else
        marks_.insert(row, {tint, note});
    if (batch_ == 0 && cols_ > 0)
        emit dataChanged(index(row - fixedRows_, 0), index(row - fixedRows_, cols_ - 1));
}

void GridModel::fillRows(const db::ResultSet& rs, const std::vector<ColumnSource>& columns, bool reference)
{
    const int records = std::min(rs.recordCount(), rows_ - 1);
    const int cols = std::min(int(columns.size()), cols_);
    char number[16];
    for (int r = 0; r < records; ++r) {
        const char* const* values = rs.rowCells(r);
        const std::uint32_t* lengths = rs.rowLengths(r);
        Cell* row = &at(r + 1, 0);
        for (int c = 0; c < cols; ++c) {
            const ColumnSource& src = columns[size_t(c)];
            Cell& cell = row[c];
            forget(cell);
            const char* text = nullptr;
            size_t size = 0;
            if (src.kind == ColumnSource::Field) {
                text = values[src.column];
                size = lengths[src.column];
            } else if (src.kind == ColumnSource::RecNo) {
                text = number;
                size = size_t(std::to_chars(number, number + sizeof number, r + 1).ptr - number);
            } else {
                text = src.text.constData();
                size = size_t(src.text.size());
            }
            const bool copy = !reference || src.kind != ColumnSource::Field;
            cell.text = copy ? copyText(text, size) : text;
            cell.size = std::uint32_t(size);
            cell.owned = copy;
            if (copy)
                liveOwned_ += size;
        }
    }
    if (batch_ == 0) {
        beginResetModel();
        endResetModel();
    }
}

void GridModel::compactIfWasteful()
{
    // Overwritten cells leave their old text behind; copy the live cells
    // afresh when more than half of the copied text is dead.
    if (ownedBytes_ < kBlock * 4 || ownedBytes_ < 2 * liveOwned_)
        return;
    std::vector<std::unique_ptr<char[]>> old;
    old.swap(blocks_);
    blockCap_ = blockUsed_ = 0;
    ownedBytes_ = 0;
    for (Cell& c : cells_)
        if (c.owned)
            c.text = copyText(c.text, c.size);
}

void GridModel::cellChanged(int row, int col)
{
    if (row < fixedRows_) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex i = index(row - fixedRows_, col);
    emit dataChanged(i, i);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(rows_ - fixedRows_, 0);
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + fixedRows_;
    const int col = index.column();
    if (!inRange(row, col))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cell(row, col);
    case Qt::ToolTipRole:
        // Long texts (descriptions) do not fit their column; show them whole.
        return at(row, col).size > 40 ? QVariant(cell(row, col)) : QVariant();
    case ColumnNoteRole:
        for (const auto& n : notes_)
            if (n.first == col && inRange(row, n.second) && at(row, n.second).size > 0)
                return QStringList{fixedRows_ > 0 ? cell(0, n.second) : QString(), cell(row, n.second)};
        return {};
    case Qt::BackgroundRole:
        if (col < fixedCols_)
            return QBrush(QColor(0xF0, 0xF0, 0xF0));
        if (const QColor tint = rowTint(row); tint.isValid())
            return QBrush(tint);
        return {};
    case NoteRole:
        return rowNote(row);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // A caption cut by its column's design width shows whole on hover.
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal && fixedRows_ > 0 && rows_ > 0 && section >= 0 &&
        section < cols_)
        return cell(0, section);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (fixedRows_ > 0 && rows_ > 0 && section >= 0 && section < cols_)
            return cell(0, section);
        return {};
    }
    return section + 1 + fixedRows_;
}
