#pragma once

#include "orgfixture.h"

#include "appcaller.h"

#include <QStringList>
#include <QTest>

using Caller = AppCaller;

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
