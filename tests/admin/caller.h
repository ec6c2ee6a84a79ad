#pragma once

#include "orgfixture.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "testdb.h"

#include <QStringList>
#include <QTest>

// One connection of the application account, bound to a person's session
// (anonymous for an empty NIP), calling procedures the way a client that
// skips its own checks would.
class Caller {
public:
    Caller(const QString& schema, const QString& nip)
    {
        conn_.open(testdb::appSettings(schema));
        if (nip.isEmpty())
            return;
        const QString token = testdb::sessionToken(schema, nip);
        if (token.isEmpty())
            throw db::DbError(db::DbError::Kind::Result, "login refused");
        q_.exec(QStringLiteral("CALL kinerja_sesi_ikat(:var_token)"), {{QStringLiteral("var_token"), token}});
    }

    // Every row as "a|b|c"; {"refused"} when the server refused with SQLSTATE
    // 45000, {"error: ..."} for any other failure.
    QStringList call(const QString& sql, const db::Params& params = {})
    {
        try {
            const db::ResultSet rs = q_.open(sql, params);
            QStringList out;
            for (int r = 0; r < rs.recordCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < rs.columnCount(); ++c)
                    cells << rs.text(r, c);
                out << cells.join(QLatin1Char('|'));
            }
            return out;
        } catch (const db::DbError& e) {
            if (e.sqlState() == "45000")
                return {QStringLiteral("refused")};
            return {QStringLiteral("error: ") + QString::fromStdString(e.what())};
        }
    }

    db::Query& query() { return q_; }

private:
    db::Connection conn_;
    db::Query q_{conn_};
};

inline const QStringList kRefused{QStringLiteral("refused")};

// Rows "nip"/"allowed" of a test that only "Admin System" passes: one
// person of every level of fixtures/org.sql, and nobody logged in.
inline void adminSystemOnlyRows()
{
    QTest::addColumn<QString>("nip");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("admin system") << kKepala << true;
    QTest::newRow("admin sektira") << kAnalis << false;
    QTest::newRow("admin skpd") << kKabid << false;
    QTest::newRow("supervisor") << kPlt << false;
    QTest::newRow("basic user") << kPelaksana << false;
    QTest::newRow("unknown level") << kPengelola << false;
    QTest::newRow("anonymous") << QString() << false;
}
