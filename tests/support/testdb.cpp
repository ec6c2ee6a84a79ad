#include "testdb.h"

#include "appcaller.h"

#include "testconfig.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"

#include <QHash>
#include <QSet>
#include <QMutex>
#include <QProcess>
#include <QTest>

#include <mysql.h>

#include <memory>

namespace testdb {

namespace {

QString rootDir()
{
    return QStringLiteral(TARVESA_SOURCE_DIR);
}

bool runProcess(const QString& program, const QStringList& args, const QByteArray& input, QByteArray* out)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        qWarning("cannot start %s", qPrintable(program));
        return false;
    }
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(180000)) {
        p.kill();
        qWarning("%s did not finish", qPrintable(program));
        return false;
    }
    if (out)
        *out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(args.join(' ')),
                 p.readAllStandardError().constData());
        return false;
    }
    return true;
}

QStringList clientArgs(const QString& schema)
{
    QStringList a{QStringLiteral("--no-defaults"), QStringLiteral("--default-character-set=utf8mb4"),
                  QStringLiteral("-uroot"), QStringLiteral("--socket=") + socketPath()};
    if (!schema.isEmpty())
        a << schema;
    return a;
}

// Undoes the escaping of the client's batch output.
QString unescape(const QString& cell)
{
    QString out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (cell[i] == QLatin1Char('\\') && i + 1 < cell.size()) {
            const QChar n = cell[++i];
            if (n == QLatin1Char('n'))
                out += QLatin1Char('\n');
            else if (n == QLatin1Char('t'))
                out += QLatin1Char('\t');
            else if (n == QLatin1Char('0'))
                out += QChar(0);
            else
                out += n;
        } else {
            out += cell[i];
        }
    }
    return out;
}

// A root session over the socket for one batch of statements, closed
// afterwards like the command-line client's: nothing it leaves open (a
// transaction, a lock, a variable) outlives the call. Much cheaper than
// starting the client.
class RootSession {
public:
    explicit RootSession(const QString& schema) : m_(mysql_init(nullptr), mysql_close)
    {
        const unsigned protocol = MYSQL_PROTOCOL_SOCKET;
        const unsigned timeout = 240;
        mysql_optionsv(m_.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
        mysql_optionsv(m_.get(), MYSQL_OPT_PROTOCOL, &protocol);
        mysql_optionsv(m_.get(), MYSQL_OPT_READ_TIMEOUT, &timeout);
        const QByteArray sock = socketPath().toLocal8Bit();
        const QByteArray db = schema.toUtf8();
        if (!mysql_real_connect(m_.get(), "localhost", "root", "", db.isEmpty() ? nullptr : db.constData(), 0,
                                sock.constData(), CLIENT_MULTI_STATEMENTS | CLIENT_MULTI_RESULTS)) {
            qWarning("root connection to %s failed: %s", qPrintable(schema), mysql_error(m_.get()));
            m_.reset();
        }
    }

    // Runs a batch; the rows of every result set land in *rows (cells as
    // text, NULL as "NULL"). Stops at the first failing statement.
    bool run(const QString& sql, QList<QStringList>* rows)
    {
        if (!m_)
            return false;
        const QByteArray text = sql.toUtf8();
        int status = mysql_real_query(m_.get(), text.constData(), text.size());
        while (status == 0) {
            if (MYSQL_RES* res = mysql_store_result(m_.get())) {
                const unsigned n = mysql_num_fields(res);
                while (MYSQL_ROW row = mysql_fetch_row(res)) {
                    const unsigned long* len = mysql_fetch_lengths(res);
                    QStringList cells;
                    for (unsigned c = 0; c < n; ++c)
                        cells << (row[c] ? QString::fromUtf8(row[c], qsizetype(len[c])) : QStringLiteral("NULL"));
                    if (rows)
                        *rows << cells;
                }
                mysql_free_result(res);
            } else if (mysql_field_count(m_.get()) != 0) {
                break;
            }
            status = mysql_next_result(m_.get());
        }
        if (status > 0 || mysql_errno(m_.get()) != 0) {
            qWarning("root statement failed: %s\n%s", mysql_error(m_.get()), qPrintable(sql.left(400)));
            return false;
        }
        return true;
    }

private:
    std::unique_ptr<MYSQL, decltype(&mysql_close)> m_;
};

QString quoted(const QString& name)
{
    return QLatin1Char('`') + QString(name).replace(QLatin1Char('`'), QStringLiteral("``")) + QLatin1Char('`');
}

// What a schema held when its fixtures were loaded: a copy of each table in
// a schema beside it, the copy's checksum and the auto-increment counter.
struct Table {
    QString name;
    QString columns; // every stored column, quoted and joined
    QString checksum;
    QString autoIncrement; // "NULL" without one
};
struct Snapshot {
    QString copy; // the schema that holds the copies
    QList<Table> tables; // tables with triggers first
    QString code; // codeDigest() as loaded
    QString grants; // the routine grants as loaded (a fixture grants its own)
};

QMutex snapshotsMutex;
QHash<QString, Snapshot> snapshots;

QString copySchema(const QString& schema)
{
    return schema + QStringLiteral("__snap");
}

// CHECKSUM TABLE of every table of the list, in its order.
QStringList checksums(const QString& schema, const QList<Table>& tables)
{
    QStringList names;
    for (const Table& t : tables)
        names << quoted(schema) + QLatin1Char('.') + quoted(t.name);
    QStringList out;
    for (const QStringList& row : rootQuery(QString(), QStringLiteral("CHECKSUM TABLE ") + names.join(QLatin1Char(','))))
        out << row.value(1);
    return out;
}

// Live auto-increment counters by table.
QHash<QString, QString> counters(const QString& schema)
{
    QHash<QString, QString> out;
    const QString sql = QStringLiteral("SELECT TABLE_NAME, AUTO_INCREMENT FROM information_schema.TABLES "
                                       "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_TYPE = 'BASE TABLE'");
    for (const QStringList& row : rootQuery(schema, sql))
        out.insert(row.value(0), row.value(1));
    return out;
}

// What data cannot put back: the schema's routines, triggers, grants and
// list of tables. A test that drops or replaces a routine, or revokes a
// grant, changes it.
QString codeDigest(const QString& schema)
{
    const QString name = QString(schema).replace(QLatin1Char('\''), QStringLiteral("''"));
    return rootValue(QString(), QStringLiteral(
        "SELECT CONCAT_WS('/', "
        "  (SELECT CONCAT(COUNT(*), ':', COALESCE(SUM(CRC32(CONCAT_WS('|', name, type, definer, body, sql_mode))), 0)) "
        "     FROM mysql.proc WHERE db = '%1'), "
        "  (SELECT CONCAT(COUNT(*), ':', COALESCE(SUM(CRC32(CONCAT_WS('|', TRIGGER_NAME, ACTION_STATEMENT))), 0)) "
        "     FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = '%1'), "
        "  (SELECT COALESCE(SUM(CRC32(CONCAT_WS('|', User, Host, Table_name, Table_priv, Column_priv))), 0) "
        "     FROM mysql.tables_priv WHERE Db = '%1'), "
        "  (SELECT COALESCE(SUM(CRC32(CONCAT_WS('|', User, Host, Table_name, Column_name, Column_priv))), 0) "
        "     FROM mysql.columns_priv WHERE Db = '%1'), "
        "  (SELECT COALESCE(SUM(CRC32(CONCAT_WS('|', User, Host, Routine_name, Routine_type, Proc_priv))), 0) "
        "     FROM mysql.procs_priv WHERE Db = '%1'), "
        "  (SELECT GROUP_CONCAT(TABLE_NAME ORDER BY TABLE_NAME) FROM information_schema.TABLES "
        "    WHERE TABLE_SCHEMA = '%1'))").arg(name));
}

bool loadRoutines(const QString& schema)
{
    const QStringList args{rootDir() + QStringLiteral("/scripts/dbload.sh"), socketPath(), schema,
                           QStringLiteral("routines"), QStringLiteral(TARVESA_BINARY_DIR "/server/app-account.sql")};
    return runProcess(QStringLiteral("bash"), args, {}, nullptr);
}

bool mendCode(const QString& schema, const Snapshot& snap)
{
    // What a test created runs as root; the loader refuses to keep it.
    QString foreign;
    const QString created = QStringLiteral(
        "SELECT 'TRIGGER', TRIGGER_NAME FROM information_schema.TRIGGERS "
        " WHERE TRIGGER_SCHEMA = DATABASE() AND DEFINER <> 'kinerja_definer@localhost' "
        "UNION ALL SELECT ROUTINE_TYPE, ROUTINE_NAME FROM information_schema.ROUTINES "
        " WHERE ROUTINE_SCHEMA = DATABASE() AND DEFINER <> 'kinerja_definer@localhost' "
        "UNION ALL SELECT 'EVENT', EVENT_NAME FROM information_schema.EVENTS "
        " WHERE EVENT_SCHEMA = DATABASE() AND DEFINER <> 'kinerja_definer@localhost'");
    for (const QStringList& row : rootQuery(schema, created))
        foreign += QStringLiteral("DROP %1 %2;").arg(row.value(0), quoted(row.value(1)));
    if (!foreign.isEmpty() && !rootExec(schema, foreign))
        return false;
    if (!loadRoutines(schema) || (!snap.grants.isEmpty() && !rootExec(schema, snap.grants)))
        return false;
    QStringList known;
    for (const Table& t : snap.tables)
        known << QLatin1Char('\'') + t.name + QLatin1Char('\'');
    QString drop;
    const QString added = QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES "
                                         "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME NOT IN (%1)")
                              .arg(known.join(QLatin1Char(',')));
    for (const QStringList& row : rootQuery(schema, added))
        drop += QStringLiteral("DROP TABLE %1;").arg(quoted(row.value(0)));
    if (!drop.isEmpty() && !rootExec(schema, drop))
        return false;
    return codeDigest(schema) == snap.code;
}

bool takeSnapshot(const QString& schema)
{
    Snapshot snap;
    snap.code = codeDigest(schema);
    snap.copy = copySchema(schema);
    for (const QStringList& r : rootQuery(schema, QStringLiteral(
             "SELECT CONCAT('GRANT EXECUTE ON ', Routine_type, ' `', REPLACE(Routine_name, '`', '``'), '` TO ''', "
             "User, '''@''', Host, ''';') FROM mysql.procs_priv WHERE Db = DATABASE()")))
        snap.grants += r.value(0);
    // information_schema answers slowly to correlated subqueries: three
    // plain lists, joined here.
    QHash<QString, QStringList> columns;
    for (const QStringList& r : rootQuery(schema, QStringLiteral(
             "SELECT TABLE_NAME, COLUMN_NAME FROM information_schema.COLUMNS "
             " WHERE TABLE_SCHEMA = DATABASE() AND EXTRA NOT LIKE '%GENERATED%' ORDER BY TABLE_NAME, ORDINAL_POSITION")))
        columns[r.value(0)] << quoted(r.value(1));
    QSet<QString> firing;
    for (const QStringList& r : rootQuery(schema, QStringLiteral(
             "SELECT EVENT_OBJECT_TABLE FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = DATABASE()")))
        firing << r.value(0);
    const QList<QStringList> rows = rootQuery(schema, QStringLiteral(
        "SELECT TABLE_NAME, AUTO_INCREMENT FROM information_schema.TABLES "
        " WHERE TABLE_SCHEMA = DATABASE() AND TABLE_TYPE = 'BASE TABLE' ORDER BY TABLE_NAME"));
    if (rows.isEmpty())
        return false;
    QString sql = QStringLiteral("DROP DATABASE IF EXISTS %1; CREATE DATABASE %1;")
                      .arg(quoted(snap.copy));
    for (const QStringList& r : rows) {
        Table t{r.value(0), columns.value(r.value(0)).join(QLatin1Char(',')), {}, r.value(1)};
        const QString copy = quoted(snap.copy) + QLatin1Char('.') + quoted(t.name);
        sql += QStringLiteral("CREATE TABLE %1 LIKE %2; INSERT INTO %1 (%3) SELECT %3 FROM %2;")
                   .arg(copy, quoted(t.name), t.columns);
        // Tables that fire triggers come first on restore, so what their
        // triggers write is put back afterwards.
        if (firing.contains(t.name))
            snap.tables.prepend(t);
        else
            snap.tables << t;
    }
    if (!rootExec(schema, sql))
        return false;
    const QStringList sums = checksums(snap.copy, snap.tables);
    if (sums.size() != snap.tables.size())
        return false;
    for (qsizetype i = 0; i < sums.size(); ++i)
        snap.tables[i].checksum = sums[i];
    QMutexLocker lock(&snapshotsMutex);
    snapshots.insert(schema, snap);
    return true;
}

} // namespace

QString socketPath()
{
    const QByteArray env = qgetenv("TARVESA_TEST_SOCKET");
    return env.isEmpty() ? QStringLiteral(TARVESA_TEST_DB_DIR "/s") : QString::fromLocal8Bit(env);
}

unsigned port()
{
    const QByteArray env = qgetenv("TARVESA_TEST_PORT");
    return env.isEmpty() ? unsigned(TARVESA_TEST_DB_PORT) : env.toUInt();
}

db::ConnSettings appSettings(const QString& schema)
{
    db::ConnSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port();
    s.schema = schema;
    s.user = QStringLiteral("aplikasi");
    s.password = QStringLiteral(TARVESA_TEST_PASSWORD);
    return s;
}

db::ConnSettings rootSettings(const QString& schema)
{
    db::ConnSettings s = appSettings(schema);
    s.user = QStringLiteral("root");
    s.password.clear();
    return s;
}

bool createSchema(const QString& schema, const QStringList& fixtures)
{
    const QStringList args{rootDir() + QStringLiteral("/scripts/dbload.sh"), socketPath(), schema,
                           QStringLiteral("fresh"), QStringLiteral(TARVESA_BINARY_DIR "/server/app-account.sql")};
    if (!runProcess(QStringLiteral("bash"), args, {}, nullptr)) {
        QTest::qFail("could not create the test schema (is the test server running?)", __FILE__, __LINE__);
        return false;
    }
    for (const QString& f : fixtures) {
        QFile file(rootDir() + QStringLiteral("/tests/fixtures/") + f);
        if (!file.open(QIODevice::ReadOnly)) {
            QTest::qFail(qPrintable(QStringLiteral("missing fixture ") + f), __FILE__, __LINE__);
            return false;
        }
        if (!runProcess(QStringLiteral("mariadb"), clientArgs(schema), file.readAll(), nullptr)) {
            QTest::qFail(qPrintable(QStringLiteral("fixture failed: ") + f), __FILE__, __LINE__);
            return false;
        }
    }
    return keepClean(schema);
}

bool keepClean(const QString& schema)
{
    if (!takeSnapshot(schema)) {
        QTest::qFail("could not keep a copy of the test schema's tables", __FILE__, __LINE__);
        return false;
    }
    return true;
}

bool restoreSchema(const QString& schema)
{
    Snapshot snap;
    {
        QMutexLocker lock(&snapshotsMutex);
        snap = snapshots.value(schema);
    }
    if (snap.tables.isEmpty()) {
        QTest::qFail("restoreSchema before createSchema", __FILE__, __LINE__);
        return false;
    }
    // A test that dropped or replaced a routine, revoked a grant or added a
    // table: load the routines and grants again, drop what it added.
    if (codeDigest(schema) != snap.code && !mendCode(schema, snap)) {
        QTest::qFail(qPrintable(QStringLiteral("could not restore the routines of ") + schema), __FILE__, __LINE__);
        return false;
    }
    // A restored table's triggers may touch a table already compared, so
    // compare again until nothing differs.
    for (int pass = 0; pass < 4; ++pass) {
        const QStringList sums = checksums(schema, snap.tables);
        const QHash<QString, QString> counter = counters(schema);
        if (sums.size() != snap.tables.size())
            break;
        QString sql;
        for (qsizetype i = 0; i < snap.tables.size(); ++i) {
            const Table& t = snap.tables[i];
            const bool rows = sums[i] != t.checksum;
            const bool count = counter.value(t.name) != t.autoIncrement;
            if (rows) {
                sql += QStringLiteral("DELETE FROM %1; INSERT INTO %1 (%2) SELECT %2 FROM %3.%1;")
                           .arg(quoted(t.name), t.columns, quoted(snap.copy));
            }
            if ((rows || count) && t.autoIncrement != QLatin1String("NULL"))
                sql += QStringLiteral("ALTER TABLE %1 AUTO_INCREMENT = %2;").arg(quoted(t.name), t.autoIncrement);
        }
        if (sql.isEmpty())
            return true;
        if (!rootExec(schema, QStringLiteral("SET FOREIGN_KEY_CHECKS = 0;") + sql))
            break;
    }
    QTest::qFail(qPrintable(QStringLiteral("could not restore the tables of ") + schema), __FILE__, __LINE__);
    return false;
}

bool rootExec(const QString& schema, const QString& sql)
{
    // The command-line client knows DELIMITER; the protocol does not.
    if (sql.contains(QLatin1String("DELIMITER"), Qt::CaseInsensitive))
        return runProcess(QStringLiteral("mariadb"), clientArgs(schema), sql.toUtf8(), nullptr);
    return RootSession(schema).run(sql, nullptr);
}

QList<QStringList> rootQuery(const QString& schema, const QString& sql)
{
    QList<QStringList> rows;
    RootSession(schema).run(sql, &rows);
    return rows;
}

QString rootValue(const QString& schema, const QString& sql)
{
    const QList<QStringList> rows = rootQuery(schema, sql);
    return rows.isEmpty() || rows.first().isEmpty() ? QString() : rows.first().first();
}

QString lockWaitQuery(const QString& schema)
{
    const QString name = QString(schema).replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST p "
                          "  LEFT JOIN information_schema.INNODB_TRX t ON t.trx_mysql_thread_id = p.ID "
                          " WHERE p.DB = '%1' AND (t.trx_state = 'LOCK WAIT' OR p.STATE LIKE 'Waiting for%lock')")
        .arg(name);
}

int lockWaits(const QString& schema)
{
    return rootValue(QString(), lockWaitQuery(schema)).toInt();
}

QString loginToken(const db::ConnSettings& settings, const QString& nip, const QString& pass)
{
    try {
        db::Connection c;
        c.open(settings);
        db::Query q(c);
        const db::ResultSet rs = q.open(QStringLiteral("CALL kinerja_cek_hak_akses(:var_nip, :var_pass)"),
                                        {{QStringLiteral("var_nip"), nip}, {QStringLiteral("var_pass"), pass}});
        return rs.recordCount() > 0 ? rs.text(0, QStringLiteral("token")) : QString();
    } catch (const std::exception& e) {
        qWarning("login of %s failed: %s", qPrintable(nip), e.what());
        return {};
    }
}

QString sessionToken(const QString& schema, const QString& nip, const QString& pass)
{
    return loginToken(appSettings(schema), nip, pass);
}

QStringList callAs(const QString& schema, const QString& nip, const QString& sql, const db::Params& params)
{
    try {
        return AppCaller(schema, nip).call(sql, params);
    } catch (const db::DbError& e) {
        if (e.sqlState() == "45000")
            return {QStringLiteral("refused")};
        if (AppCaller::isDenied(e))
            return {QStringLiteral("denied")};
        return {QStringLiteral("error: ") + QString::fromStdString(e.what())};
    }
}

} // namespace testdb
