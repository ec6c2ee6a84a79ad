#pragma once

#include "testconfig.h"
#include "testdb.h"

#include <QFile>

// The schema of the delegation suites: org.sql, delegation.sql and the
// delegations of delegation_rows.sql.
inline bool createDelegationSchema(const QString& schema)
{
    return testdb::createSchema(schema, {QStringLiteral("org.sql"), QStringLiteral("delegation.sql"),
                                         QStringLiteral("delegation_rows.sql")});
}

// The delegations back as the fixture has them, before each test (cheaper
// than a new schema).
inline bool resetDelegations(const QString& schema)
{
    QFile rows(QStringLiteral(TARVESA_SOURCE_DIR "/tests/fixtures/delegation_rows.sql"));
    return rows.open(QIODevice::ReadOnly) && testdb::rootExec(schema, QString::fromUtf8(rows.readAll()));
}
