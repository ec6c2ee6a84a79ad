#include "query.h"

#include "connection.h"
#include "dberror.h"

#include <errmsg.h>
#include <mysql.h>

namespace db {

namespace {

DbError statementError(MYSQL* m, const std::string& statement)
{
    const unsigned code = mysql_errno(m);
    // Lost connections and timeouts are connection failures, not bad statements.
    const bool lost = code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST;
    return DbError(lost ? DbError::Kind::Connect : DbError::Kind::Statement, mysql_error(m), code,
                   mysql_sqlstate(m), statement);
}

class BusyScope {
public:
    explicit BusyScope(const std::function<void(bool)>& hook) : hook_(hook)
    {
        if (hook_)
            hook_(true);
    }
    ~BusyScope()
    {
        if (hook_)
            hook_(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const std::function<void(bool)>& hook_;
};

} // namespace

ResultSet Query::open(const QString& sql, const Params& params)
{
    ResultSet rs;
    run(sql, params, &rs);
    return rs;
}

std::vector<ResultSet> Query::openAll(const QString& sql, const Params& params)
{
    std::vector<ResultSet> all;
    run(sql, params, nullptr, &all);
    return all;
}

void Query::exec(const QString& sql, const Params& params)
{
    run(sql, params, nullptr);
}

void Query::run(const QString& sql, const Params& params, ResultSet* out, std::vector<ResultSet>* all)
{
    MYSQL* m = conn_.handle();
    if (!m)
        throw DbError(DbError::Kind::Connect, "not connected", 0, {}, sql.toStdString());

    const std::string text = expandParams(sql, params, [m](const QByteArray& v) {
        std::string q(size_t(v.size()) * 2 + 3, '\0');
        q[0] = '\'';
        const unsigned long len = mysql_real_escape_string(m, q.data() + 1, v.constData(), v.size());
        q[len + 1] = '\'';
        q.resize(len + 2);
        return q;
    });

    BusyScope busy(busy_);
    if (mysql_real_query(m, text.data(), text.size()) != 0)
        throw statementError(m, text);

    bool haveRows = false;
    for (;;) {
        MYSQL_RES* res = mysql_store_result(m);
        if (res) {
            if (all) {
                all->emplace_back(res);
            } else if (out && !haveRows) {
                *out = ResultSet(res);
                haveRows = true;
            } else {
                mysql_free_result(res);
            }
        } else if (mysql_field_count(m) != 0) {
            throw statementError(m, text);
        }
        const int more = mysql_next_result(m);
        if (more < 0)
            break;
        if (more > 0)
            throw statementError(m, text);
    }
}

} // namespace db
