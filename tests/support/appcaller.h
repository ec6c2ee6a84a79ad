#pragma once

#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "testdb.h"

#include <QStringList>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

// One connection of the application account to a test schema, the way a
// client that skips its own checks calls the server: bound to a person's
// session when a NIP is given, anonymous otherwise.
class AppCaller {
public:
    // The scheduler runs jobs as the routines' owner, not as the application.
    struct Scheduler {};
    AppCaller(const QString& schema, Scheduler) { conn_.open(testdb::rootSettings(schema)); }

    // An anonymous connection to a server given in full (a node of a
    // cluster); bind it with a call of kinerja_sesi_ikat.
    explicit AppCaller(const db::ConnSettings& settings) { conn_.open(settings); }

    explicit AppCaller(const QString& schema, const QString& nip = {})
    {
        conn_.open(testdb::appSettings(schema));
        if (nip.isEmpty())
            return;
        const QString token = testdb::sessionToken(schema, nip);
        if (token.isEmpty())
            throw db::DbError(db::DbError::Kind::Result, "login refused");
        q_.exec(QStringLiteral("CALL kinerja_sesi_ikat(:var_token)"), {{"var_token", token}});
    }

    // Every row as "a|b|c"; {"refused"} when a routine refused with SQLSTATE
    // 45000, {"denied"} when the account may not run the routine or touch
    // the table at all, {"error: ..."} for any other failure.
    QStringList call(const QString& sql, const db::Params& params = {})
    {
        try {
            const db::ResultSet rs = q_.open(sql, params);
            QStringList out;
            for (int r = 0; r < rs.recordCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < rs.columnCount(); ++c)
                    cells << rs.text(r, c);
                out << cells.join('|');
            }
            return out;
        } catch (const db::DbError& e) {
            if (e.sqlState() == "45000")
                return {QStringLiteral("refused")};
            if (isDenied(e))
                return {QStringLiteral("denied")};
            return {QStringLiteral("error: ") + QString::fromStdString(e.what())};
        }
    }

    // The server's "command denied" errors: a routine (1370), a table
    // (1142) or a column (1143) beyond the account's grants.
    static bool isDenied(const db::DbError& e) { return e.code() == 1370 || e.code() == 1142 || e.code() == 1143; }

    db::Query& query() { return q_; }

private:
    db::Connection conn_;
    db::Query q_{conn_};
};

// Runs body on its own thread; the caller waits with blockedOnLock() until
// the thread is stuck on a lock (or has finished, when nothing held it).
class Racer {
public:
    explicit Racer(std::function<QStringList()> body) : thread_([this, body] { result_ = body(); done_ = true; }) {}
    ~Racer()
    {
        if (thread_.joinable())
            thread_.join();
    }
    // Whether the thread is held: true once waiting() says so while the
    // body still runs, false as soon as the body has finished (nothing held
    // it), or after half a minute of neither.
    bool blockedWhile(const std::function<bool()>& waiting)
    {
        // InnoDB refreshes what information_schema shows of transactions
        // only after 0.1 s without a read: poll more slowly than that.
        for (int i = 0; i < 200 && !done_; ++i) {
            if (waiting())
                return !done_;
            QThread::msleep(150);
        }
        return false;
    }
    // Held on a row or table lock: at least `waiting` sessions of the
    // schema wait for one (count the racers already known to wait).
    bool blockedOnLock(const QString& schema, int waiting = 1)
    {
        return blockedWhile([&] { return testdb::lockWaits(schema) >= waiting; });
    }
    QStringList result()
    {
        thread_.join();
        return result_;
    }

private:
    QStringList result_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};
