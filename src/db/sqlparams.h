#pragma once

#include <QString>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace db {

// Named statement parameters (":var_nip"), every value bound as text.
using Params = std::vector<std::pair<QString, QString>>;

// Turns a value into a quoted SQL literal (with the connection's escaping).
using Quoter = std::function<std::string(const QByteArray& utf8)>;

// Replaces each :name of sql with the quoted value of the parameter of that
// name (names match without regard to case). Quoted strings, `identifiers`
// and comments of the statement are left alone, and so is ":=". A :name
// without a value, or a value without its :name, is a DbError: both are
// mistakes in the calling code.
std::string expandParams(const QString& sql, const Params& params, const Quoter& quote);

} // namespace db
