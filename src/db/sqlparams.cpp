#include "sqlparams.h"

#include "dberror.h"

#include <QByteArray>

namespace db {

namespace {

bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9');
}

// Index just past the quoted run that starts at i (quote char q), honouring
// doubled quotes and backslash escapes.
size_t skipQuoted(const QByteArray& s, size_t i, char q)
{
    const size_t n = size_t(s.size());
    for (++i; i < n; ++i) {
        if (s[qsizetype(i)] == '\\' && q != '`') {
            ++i;
        } else if (s[qsizetype(i)] == q) {
            if (i + 1 < n && s[qsizetype(i + 1)] == q)
                ++i;
            else
                return i + 1;
        }
    }
    return n;
}

} // namespace

std::string expandParams(const QString& sql, const Params& params, const Quoter& quote)
{
    const QByteArray s = sql.toUtf8();
    const size_t n = size_t(s.size());
    std::vector<bool> used(params.size(), false);
    std::string out;
    out.reserve(n + 64);

    size_t i = 0;
    while (i < n) {
        const char c = s[qsizetype(i)];
        const char next = i + 1 < n ? s[qsizetype(i + 1)] : '\0';
        size_t end = i + 1;
        if (c == '\'' || c == '"' || c == '`') {
            end = skipQuoted(s, i, c);
        } else if (c == '#' || (c == '-' && next == '-')) {
            end = size_t(s.indexOf('\n', qsizetype(i)));
            end = end == size_t(-1) ? n : end;
        } else if (c == '/' && next == '*') {
            const qsizetype close = s.indexOf("*/", qsizetype(i) + 2);
            end = close < 0 ? n : size_t(close) + 2;
        } else if (c == ':' && isNameStart(next)) {
            end = i + 1;
            while (end < n && isNameChar(s[qsizetype(end)]))
                ++end;
            const QString name = QString::fromUtf8(s.constData() + i + 1, qsizetype(end - i - 1));
            size_t k = 0;
            while (k < params.size() && params[k].first.compare(name, Qt::CaseInsensitive) != 0)
                ++k;
            if (k == params.size())
                throw DbError(DbError::Kind::Statement, "parameter :" + name.toStdString() + " has no value",
                              0, {}, sql.toStdString());
            used[k] = true;
            out += quote(params[k].second.toUtf8());
            i = end;
            continue;
        }
        out.append(s.constData() + i, end - i);
        i = end;
    }

    for (size_t k = 0; k < params.size(); ++k)
        if (!used[k])
            throw DbError(DbError::Kind::Statement,
                          "statement has no parameter :" + params[k].first.toStdString(), 0, {},
                          sql.toStdString());
    return out;
}

} // namespace db
