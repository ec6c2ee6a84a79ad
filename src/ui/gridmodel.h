#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QByteArrayView>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace db {
class ResultSet;
}

// The cells of a string grid: rows x columns of text, with an optional fixed
// (caption) row 0 and fixed column 0. A cell is a view of UTF-8 text held
// either by the grid itself or by a buffer the grid keeps alive (a whole
// result set, so a list of 50,000 rows is shown without copying its text).
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

    // The tooltip note of a view cell: the caption and the text of its
    // row's note column, as two strings; none when that text is empty.
    static constexpr int ColumnNoteRole = Qt::UserRole + 2;

    QString cell(int row, int col) const;
    // The cell's text as the grid holds it, UTF-8, without a copy.
    QByteArrayView cellUtf8(int row, int col) const;
    // The cells of column col take their tooltip note from column noteCol.
    void setNoteColumn(int col, int noteCol);
    void setCell(int row, int col, const QString& text);
    // Copies the text into the grid.
    void setCellUtf8(int row, int col, const char* data, size_t size);
    // Shows text that lives in a buffer passed to keepAlive().
    void setCellRef(int row, int col, const char* data, size_t size);
    void keepAlive(std::shared_ptr<const void> buffer);
    // Empties every cell and releases all text and row marks, for a caller
    // about to write every cell anew (inside a batch).
    void clearText();

    // A data row's tint (an invalid colour: none) and note, the note shown
    // as the tooltip of each of its cells; for rows a list wants looked at.
    void setRowMark(int row, const QColor& tint, const QString& note);
    QColor rowTint(int row) const { return marks_.value(row).tint; }
    QString rowNote(int row) const { return marks_.value(row).note; }
    // The role under which data() answers a row's note.
    static constexpr int NoteRole = Qt::UserRole + 1;

    // What fills a grid column from a result: a result column (>= 0), the
    // running row number, or a fixed text.
    struct ColumnSource {
        enum Kind { Field, RecNo, Text } kind = Field;
        int column = -1;
        QByteArray text;
    };
    // Writes rows 1.. from the result's rows (inside a batch). The text is
    // referenced when the result was passed to keepAlive(), else copied.
    void fillRows(const db::ResultSet& rs, const std::vector<ColumnSource>& columns, bool reference);

    // Changes between beginBatch and endBatch reach the views as one reset.
    void beginBatch();
    void endBatch();
    bool inBatch() const noexcept { return batch_ > 0; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Cell {
        const char* text = nullptr;
        std::uint32_t size = 0;
        bool owned = false;
    };
    bool inRange(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    Cell& at(int row, int col) { return cells_[size_t(row) * size_t(cols_) + size_t(col)]; }
    const Cell& at(int row, int col) const { return cells_[size_t(row) * size_t(cols_) + size_t(col)]; }
    const char* copyText(const char* data, size_t size);
    void assign(int row, int col, const char* data, size_t size, bool copy);
    void forget(const Cell& c);
    void compactIfWasteful();
    void cellChanged(int row, int col);

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int batch_ = 0;
    std::vector<Cell> cells_; // row-major
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t blockCap_ = 0;
    size_t blockUsed_ = 0;
    size_t ownedBytes_ = 0; // copied text, live or dead
    size_t liveOwned_ = 0;  // copied text still shown
    std::vector<std::shared_ptr<const void>> kept_;
    struct RowMark {
        QColor tint;
        QString note;
    };
    QHash<int, RowMark> marks_; // few rows have one
    std::vector<std::pair<int, int>> notes_; // column, its note column
};
