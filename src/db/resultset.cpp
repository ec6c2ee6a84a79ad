#include "resultset.h"

#include "dberror.h"

#include <mysql.h>

#include <cmath>
#include <string>

namespace db {

void ResultSet::Free::operator()(MYSQL_RES* r) const noexcept
{
    mysql_free_result(r);
}

ResultSet::ResultSet(MYSQL_RES* res) : res_(res)
{
    if (!res_)
        return;
    const unsigned cols = mysql_num_fields(res);
    MYSQL_FIELD* fields = mysql_fetch_fields(res);
    names_.reserve(int(cols));
    for (unsigned c = 0; c < cols; ++c)
        names_.push_back(QString::fromUtf8(fields[c].name, fields[c].name_length));

    const auto count = static_cast<size_t>(mysql_num_rows(res));
    rows_.reserve(count);
    lengths_.reserve(count * cols);
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
        rows_.push_back(row);
        const unsigned long* len = mysql_fetch_lengths(res);
        for (unsigned c = 0; c < cols; ++c)
            lengths_.push_back(static_cast<std::uint32_t>(len[c]));
    }
}

int ResultSet::columnIndex(QStringView name) const noexcept
{
    for (int i = 0; i < names_.size(); ++i)
        if (QStringView(names_[i]).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int ResultSet::requireColumn(QStringView name) const
{
    const int i = columnIndex(name);
    if (i < 0)
        throw DbError(DbError::Kind::Result, "result has no column " + name.toString().toStdString());
    return i;
}

void ResultSet::checkCell(int row, int col) const
{
    if (row < 0 || row >= recordCount())
        throw DbError(DbError::Kind::Result, "row " + std::to_string(row) + " out of range");
    if (col < 0 || col >= columnCount())
        throw DbError(DbError::Kind::Result, "column " + std::to_string(col) + " out of range");
}

std::string_view ResultSet::raw(int row, int col) const
{
    checkCell(row, col);
    const char* p = rows_[size_t(row)][col];
    if (!p)
        return {};
    return {p, lengths_[size_t(row) * size_t(columnCount()) + size_t(col)]};
}

bool ResultSet::isNull(int row, int col) const
{
    checkCell(row, col);
    return rows_[size_t(row)][col] == nullptr;
}

QString ResultSet::text(int row, int col) const
{
    const std::string_view v = raw(row, col);
    return QString::fromUtf8(v.data(), qsizetype(v.size()));
}

QString ResultSet::first(QStringView name) const
{
    const int col = requireColumn(name);
    return recordCount() ? text(0, col) : QString();
}

QString ResultSet::first(int col) const
{
    if (col < 0 || col >= columnCount())
        throw DbError(DbError::Kind::Result, "column " + std::to_string(col) + " out of range");
    return recordCount() ? text(0, col) : QString();
}

long long ResultSet::number(int row, int col) const
{
    const QString t = text(row, col).trimmed();
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw DbError(DbError::Kind::Result, "not a number: " + t.toStdString());
    return std::llround(v);
}

} // namespace db
