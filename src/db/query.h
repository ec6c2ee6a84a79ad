#pragma once

#include "resultset.h"
#include "sqlparams.h"

#include <functional>
#include <vector>

namespace db {

class Connection;

// Runs statements on one connection. Every result of a statement is read to
// the end (a CALL sends one result per SELECT and a final status), so an error
// raised after the rows, such as a SIGNAL, fails the call, and the connection
// is ready for the next statement.
class Query {
public:
    explicit Query(Connection& connection) : conn_(connection) {}

    // Runs the statement and returns its first result set (empty when the
    // statement sends no rows). Throws DbError.
    ResultSet open(const QString& sql, const Params& params = {});
    // Runs the statement and returns every result set it sends, in order
    // (a CALL whose procedure selects more than once). Throws DbError.
    std::vector<ResultSet> openAll(const QString& sql, const Params& params = {});
    // Runs the statement; any rows it sends are discarded. Throws DbError.
    void exec(const QString& sql, const Params& params = {});

    // Called with true before a statement goes to the server and with false
    // when its results are read (the user interface shows a wait cursor).
    void setBusyHook(std::function<void(bool)> hook) { busy_ = std::move(hook); }

private:
    // Keeps the first result set in *out, or every one in *all.
    void run(const QString& sql, const Params& params, ResultSet* out, std::vector<ResultSet>* all = nullptr);

    Connection& conn_;
    std::function<void(bool)> busy_;
};

} // namespace db
