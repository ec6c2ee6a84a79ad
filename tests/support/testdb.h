#pragma once

#include "db/connsettings.h"
#include "db/sqlparams.h"

#include <QList>
#include <QString>
#include <QStringList>

// The throwaway test server that CTest starts (see tests/CMakeLists.txt).
namespace testdb {

QString socketPath();
unsigned port();

// The application account's settings for a schema of the test server.
db::ConnSettings appSettings(const QString& schema);
// Root over TCP (no password on the test server), for a test that must hold
// a lock or a transaction open while the application works.
db::ConnSettings rootSettings(const QString& schema);

// Drops and recreates the schema with tables, routines and grants, then
// loads the fixture files (names relative to tests/fixtures). Fails the
// calling test when anything goes wrong.
// Keeps a copy of the tables as loaded, for restoreSchema.
bool createSchema(const QString& schema, const QStringList& fixtures = {});
// Keeps the schema's present rows as its clean state instead, after a
// suite's own set-up beyond its fixture files.
bool keepClean(const QString& schema);

// Puts every table of the schema back as createSchema left it (rows and
// auto-increment counters), comparing checksums so that only the tables a
// test changed are copied back. Routines, triggers and grants that a test
// dropped, replaced or revoked are loaded again, tables it added dropped.
// Accounts and server variables are not touched.
bool restoreSchema(const QString& schema);

// Logs a person in as the client does (the fixtures' password unless
// given) and answers the session token that binds connections to that
// person; empty when the login is refused.
QString loginToken(const db::ConnSettings& settings, const QString& nip,
                   const QString& pass = QStringLiteral("rahasia123"));

// Runs SQL as root in the schema through the command-line client.
bool rootExec(const QString& schema, const QString& sql);
// Rows of a query run as root, cells as text (NULL reads "NULL").
QList<QStringList> rootQuery(const QString& schema, const QString& sql);
// The single value of a one-cell query as root.
QString rootValue(const QString& schema, const QString& sql);

// Sessions on the schema that wait for a row lock or a table's metadata
// lock at this moment (the query, for any server; its count on this one).
// InnoDB refreshes what it shows of transactions only after 0.1 s without
// a read: poll no faster than that.
QString lockWaitQuery(const QString& schema);
int lockWaits(const QString& schema);

// Logs a NIP in the way the client does (the fixtures' password unless
// given) and answers the session token; empty when the login was refused.
QString sessionToken(const QString& schema, const QString& nip,
                     const QString& pass = QStringLiteral("rahasia123"));

// Runs one statement as the application account, bound to the NIP's session
// (the fixtures' password; anonymous for an empty NIP), the way a client
// that skips its own checks would: every row as "a|b|c", {"refused"} when
// a routine refused with SQLSTATE 45000, {"denied"} when the account may not
// run it at all, {"error: ..."} otherwise.
QStringList callAs(const QString& schema, const QString& nip, const QString& sql, const db::Params& params = {});

} // namespace testdb
