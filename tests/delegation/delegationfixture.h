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
