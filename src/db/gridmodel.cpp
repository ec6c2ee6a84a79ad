#include "gridmodel.h"

#include <QBrush>
#include <QColor>

#include <limits>
#include <stdexcept>

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
        liveBytes_ -= cells_[i].len;
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
    std::vector<Span> next(size_t(rows_) * size_t(cols));
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) {
            const Span s = cells_[size_t(r) * size_t(cols_) + size_t(c)];
            if (c < cols)
                next[size_t(r) * size_t(cols) + size_t(c)] = s;
            else
                liveBytes_ -= s.len;
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
    const Span s = cells_[size_t(row) * size_t(cols_) + size_t(col)];
    return QString::fromUtf8(text_.data() + s.off, qsizetype(s.len));
}

void GridModel::setCell(int row, int col, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    setCellUtf8(row, col, utf8.constData(), size_t(utf8.size()));
}

void GridModel::setCellUtf8(int row, int col, const char* data, size_t size)
{
    if (!inRange(row, col))
        throw std::out_of_range("grid cell out of range");
    store(row, col, data, size);
    if (batch_ == 0) {
        cellChanged(row, col);
        compactIfWasteful();
    }
}

void GridModel::store(int row, int col, const char* data, size_t size)
{
    Span& s = cells_[size_t(row) * size_t(cols_) + size_t(col)];
    liveBytes_ -= s.len;
    if (size > std::numeric_limits<std::uint32_t>::max() ||
        text_.size() + size > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("grid text too large");
    s.off = static_cast<std::uint32_t>(text_.size());
    s.len = static_cast<std::uint32_t>(size);
    text_.append(data, size);
    liveBytes_ += size;
}

void GridModel::compactIfWasteful()
{
    // Overwritten cells leave their old text behind; rebuild the buffer when
    // more than half of it is dead.
    if (text_.size() < (1u << 20) || text_.size() < 2 * liveBytes_)
        return;
    std::string next;
    next.reserve(liveBytes_);
    for (Span& s : cells_) {
        const std::uint32_t off = static_cast<std::uint32_t>(next.size());
        next.append(text_, s.off, s.len);
        s.off = s.len ? off : 0;
    }
    text_.swap(next);
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
    case Qt::ToolTipRole: {
        // Long texts (descriptions) do not fit their column; show them whole.
        const Span s = cells_[size_t(row) * size_t(cols_) + size_t(col)];
        return s.len > 40 ? QVariant(cell(row, col)) : QVariant();
    }
    case Qt::BackgroundRole:
        if (col < fixedCols_)
            return QBrush(QColor(0xF0, 0xF0, 0xF0));
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (fixedRows_ > 0 && rows_ > 0 && section >= 0 && section < cols_)
            return cell(0, section);
        return {};
    }
    return section + 1 + fixedRows_;
}
