#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

struct st_mysql_res;
typedef struct st_mysql_res MYSQL_RES;

namespace db {

// The rows of one result set, held as the server sent them (UTF-8 text) until
// the object dies. Cells are read by position or by column name; names match
// without regard to case. NULL reads as empty text.
class ResultSet {
public:
    ResultSet() = default;
    explicit ResultSet(MYSQL_RES* res); // takes ownership
    ResultSet(ResultSet&&) noexcept = default;
    ResultSet& operator=(ResultSet&&) noexcept = default;
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    int recordCount() const noexcept { return static_cast<int>(rows_.size()); }
    int columnCount() const noexcept { return static_cast<int>(names_.size()); }
    const QStringList& columnNames() const noexcept { return names_; }

    // -1 when the result has no such column.
    int columnIndex(QStringView name) const noexcept;
    // Like columnIndex, but a missing column is a DbError.
    int requireColumn(QStringView name) const;

    std::string_view raw(int row, int col) const;
    // Bulk access for readers of whole rows (no bounds checks): the cells of
    // a row (NULL for SQL NULL) and their byte lengths.
    const char* const* rowCells(int row) const noexcept { return rows_[size_t(row)]; }
    const std::uint32_t* rowLengths(int row) const noexcept
    {
        return lengths_.data() + size_t(row) * size_t(columnCount());
    }
    bool isNull(int row, int col) const;
    QString text(int row, int col) const;
    QString text(int row, QStringView name) const { return text(row, requireColumn(name)); }

    // The cell of the first row, or empty text when there is no row. A missing
    // column is still an error.
    QString first(QStringView name) const;
    QString first(int col) const;

    // A whole number read from a cell: decimals are rounded, anything that is
    // not a number is a DbError.
    long long number(int row, int col) const;
    long long number(int row, QStringView name) const { return number(row, requireColumn(name)); }

private:
    void checkCell(int row, int col) const;

    struct Free {
        void operator()(MYSQL_RES* r) const noexcept;
    };
    std::unique_ptr<MYSQL_RES, Free> res_;
    QStringList names_;
    std::vector<char**> rows_;
    std::vector<std::uint32_t> lengths_; // rows x columns
};

} // namespace db
