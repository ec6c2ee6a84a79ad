#include "testdb.h"

#include "appcaller.h"

#include "testconfig.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"

#include <QProcess>
#include <QTest>

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
    return true;
}

bool rootExec(const QString& schema, const QString& sql)
{
    return runProcess(QStringLiteral("mariadb"), clientArgs(schema), sql.toUtf8(), nullptr);
}

QList<QStringList> rootQuery(const QString& schema, const QString& sql)
{
    QByteArray out;
    QList<QStringList> rows;
    QStringList args = clientArgs(schema);
    args << QStringLiteral("--batch") << QStringLiteral("--skip-column-names");
    if (!runProcess(QStringLiteral("mariadb"), args, sql.toUtf8(), &out))
        return rows;
    const QString text = QString::fromUtf8(out);
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QStringList cells;
        for (const QString& c : line.split(QLatin1Char('\t')))
            cells << unescape(c);
        rows << cells;
    }
    return rows;
}

QString rootValue(const QString& schema, const QString& sql)
{
    const QList<QStringList> rows = rootQuery(schema, sql);
    return rows.isEmpty() || rows.first().isEmpty() ? QString() : rows.first().first();
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
        return {QStringLiteral("error: ") + QString::fromStdString(e.what())};
    }
}

} // namespace testdb
