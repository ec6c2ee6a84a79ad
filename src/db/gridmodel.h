#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <vector>

// The cells of a string grid: rows x columns of text, with an optional fixed
// (caption) row 0 and fixed column 0. Text is kept as UTF-8 in one buffer, so
// a list of 50,000 rows costs a few bytes per cell beyond its text.
//
// The view sees the rows below the fixed row; the fixed row's cells are the
// horizontal header captions.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int gridRowCount() const noexcept { return rows_; }
    int gridColCount() const noexcept { return cols_; }
    int fixedRows() const noexcept { return fixedRows_; }
    int fixedCols() const noexcept { return fixedCols_; }

    void setGridRowCount(int rows);
    void setGridColCount(int cols);
    void setFixedRows(int n);
    void setFixedCols(int n);

    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    void setCellUtf8(int row, int col, const char* data, size_t size);

    // Changes between beginBatch and endBatch reach the views as one reset.
    void beginBatch();
    void endBatch();
    bool inBatch() const noexcept { return batch_ > 0; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Span {
        std::uint32_t off = 0;
        std::uint32_t len = 0;
    };
    bool inRange(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    void store(int row, int col, const char* data, size_t size);
    void compactIfWasteful();
    void cellChanged(int row, int col);

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int batch_ = 0;
    std::vector<Span> cells_; // row-major
    std::string text_;
    size_t liveBytes_ = 0;
};
