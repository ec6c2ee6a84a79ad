// Parameter expansion of statements: where :names are replaced, and where
// they must be left alone.
#include "db/dberror.h"
#include "db/sqlparams.h"

#include <QTest>

namespace {

// Marks the value so the test sees exactly what was substituted where.
std::string fakeQuote(const QByteArray& v)
{
    return "<" + v.toStdString() + ">";
}

} // namespace

class TestSqlParams : public QObject {
    Q_OBJECT
private slots:
    void expands_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("call") << "CALL `kinerja_x`(:var_a, :var_b)" << "CALL `kinerja_x`(<A>, <B>)";
        QTest::newRow("no space") << "CALL p(:var_a,:var_b)" << "CALL p(<A>,<B>)";
        QTest::newRow("case") << "CALL p(:VAR_A, :Var_B)" << "CALL p(<A>, <B>)";
        QTest::newRow("repeated") << "SELECT :var_a, :var_a, :var_b" << "SELECT <A>, <A>, <B>";
        QTest::newRow("in string") << "SELECT ':var_a', :var_a, :var_b" << "SELECT ':var_a', <A>, <B>";
        QTest::newRow("time format") << "SELECT DATE_FORMAT(NOW(),'%Y-%m-%d %H:%i:%s'), :var_a, :var_b"
                                     << "SELECT DATE_FORMAT(NOW(),'%Y-%m-%d %H:%i:%s'), <A>, <B>";
        QTest::newRow("doubled quote") << "SELECT 'it''s :var_a', :var_a, :var_b" << "SELECT 'it''s :var_a', <A>, <B>";
        QTest::newRow("escaped quote") << "SELECT 'x\\' :var_a', :var_a, :var_b" << "SELECT 'x\\' :var_a', <A>, <B>";
        QTest::newRow("backtick") << "SELECT `:var_a`, :var_a, :var_b" << "SELECT `:var_a`, <A>, <B>";
        QTest::newRow("comments") << "SELECT :var_a -- :var_x\n, :var_b /* :var_y */ # :var_z"
                                  << "SELECT <A> -- :var_x\n, <B> /* :var_y */ # :var_z";
        QTest::newRow("assignment") << "SET @x := :var_a, @y := :var_b" << "SET @x := <A>, @y := <B>";
        QTest::newRow("name end") << "CALL p(:var_a);:var_b" << "CALL p(<A>);<B>";
    }

    void expands()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        const db::Params params{{QStringLiteral("var_a"), QStringLiteral("A")},
                                {QStringLiteral("var_b"), QStringLiteral("B")}};
        QCOMPARE(QString::fromStdString(db::expandParams(sql, params, fakeQuote)), expected);
    }

    void mistakesAreErrors_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("value without name") << "CALL p(:var_a)";
        QTest::newRow("name without value") << "CALL p(:var_a, :var_b, :var_c)";
        QTest::newRow("name only in a string") << "CALL p(':var_a', :var_b)";
    }

    void mistakesAreErrors()
    {
        QFETCH(QString, sql);
        const db::Params params{{QStringLiteral("var_a"), QStringLiteral("A")},
                                {QStringLiteral("var_b"), QStringLiteral("B")}};
        QVERIFY_THROWS_EXCEPTION(db::DbError, db::expandParams(sql, params, fakeQuote));
    }

    void valueIsNeverScanned()
    {
        // A value that looks like a parameter or closes the string stays data.
        const db::Params params{{QStringLiteral("var_a"), QStringLiteral("':var_b")},
                                {QStringLiteral("var_b"), QStringLiteral("B")}};
        QCOMPARE(QString::fromStdString(db::expandParams(QStringLiteral("CALL p(:var_a, :var_b)"), params, fakeQuote)),
                 QStringLiteral("CALL p(<':var_b>, <B>)"));
    }
};

QTEST_APPLESS_MAIN(TestSqlParams)
#include "test_sqlparams.moc"
