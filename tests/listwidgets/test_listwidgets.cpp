// The list grid and its filling convention, and the shared key filters.
#include "db/dberror.h"
#include "ui/keyfilters.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"
#include "testdb.h"
#include "testhost.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_listwidgets");

const std::vector<GridColumn> kActivityColumns{
    GridColumn::field(QStringLiteral("Id"), 0, QStringLiteral("id")),
    GridColumn::recNo(),
    GridColumn::field(QStringLiteral("Jenis Akt."), 70, QStringLiteral("jenis_jabatan")),
    GridColumn::field(QStringLiteral("Aktivitas"), 300, QStringLiteral("rincian_tugas")),
    GridColumn::field(QStringLiteral("Deskripsi"), 400, QStringLiteral("deskripsi")),
    GridColumn::text(QStringLiteral("Akt. Diakui"), 80, QStringLiteral("0")),
};

} // namespace

class TestListWidgets : public QObject {
    Q_OBJECT

    db::ResultSet rows(int n)
    {
        TestHost host(testdb::appSettings(kSchema));
        db::ResultSet rs;
        Envelope(host).run([&](db::Query& q) {
            rs = q.open(QStringLiteral("CALL t_rows(:var_n)"), {{QStringLiteral("var_n"), QString::number(n)}});
        });
        return rs;
    }

private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("dbcore.sql")})); }

    void emptyResultShowsCaptionsAsAnOrdinaryRow()
    {
        StringGrid g;
        fillGrid(g, rows(0), kActivityColumns);
        QCOMPARE(g.rowCount(), 1);
        QCOMPARE(g.colCount(), 6);
        QCOMPARE(g.fixedRows(), 0);
        QCOMPARE(g.fixedCols(), 1);
        QCOMPARE(g.cell(0, 0), QStringLiteral("Id"));
        QCOMPARE(g.cell(0, 3), QStringLiteral("Aktivitas"));
        QCOMPARE(g.model()->rowCount(), 1); // the caption row is shown as data
        QCOMPARE(g.model()->index(0, 4).data().toString(), QStringLiteral("Deskripsi"));
        QVERIFY(g.horizontalHeader()->isHidden());
        QCOMPARE(g.currentRow(), 0);
    }

    void oneRowGetsAFixedCaptionRow()
    {
        StringGrid g;
        fillGrid(g, rows(1), kActivityColumns);
        QCOMPARE(g.rowCount(), 2);
        QCOMPARE(g.fixedRows(), 1);
        QCOMPARE(g.model()->rowCount(), 1);
        QVERIFY(!g.horizontalHeader()->isHidden());
        QCOMPARE(g.model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Aktivitas"));
        QCOMPARE(g.cell(1, 0), QStringLiteral("1"));
        QCOMPARE(g.cell(1, 1), QStringLiteral("1"));
        QCOMPARE(g.cell(1, 3), QStringLiteral("Rincian tugas nomor 1"));
        QCOMPARE(g.cell(1, 4), QStringLiteral("Deskripsi aktivitas harian ke-1 ✓"));
        QCOMPARE(g.cell(1, 5), QStringLiteral("0"));
        QCOMPARE(g.currentRow(), 1);
    }

    void layoutFollowsTheColumns()
    {
        StringGrid g;
        g.resize(900, 400);
        fillGrid(g, rows(3), kActivityColumns);
        QVERIFY(g.isColumnHidden(0)); // the key column
        QCOMPARE(g.colWidth(0), 0);
        QVERIFY(!g.isColumnHidden(1));
        QCOMPARE(g.horizontalHeader()->sectionSize(1), 30);
        QCOMPARE(g.horizontalHeader()->sectionSize(4), 400);
        QCOMPARE(g.rowHeight(0), StringGrid::DataRowHeight);
        QCOMPARE(g.rowHeight(2), StringGrid::DataRowHeight);
        QCOMPARE(g.selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(g.horizontalHeader()->sectionResizeMode(2), QHeaderView::Interactive);

        // A bigger font must not make the rows taller.
        QFont big = g.font();
        big.setPixelSize(30);
        g.setFont(big);
        fillGrid(g, rows(3), kActivityColumns);
        QCOMPARE(g.rowHeight(1), StringGrid::DataRowHeight);
    }

    void shorterListAfterLongerOne()
    {
        StringGrid g;
        fillGrid(g, rows(5), kActivityColumns);
        g.setCurrentRow(5);
        QCOMPARE(g.currentRow(), 5);
        fillGrid(g, rows(2), kActivityColumns);
        QCOMPARE(g.rowCount(), 3);
        QCOMPARE(g.model()->rowCount(), 2);
        QCOMPARE(g.cell(2, 3), QStringLiteral("Rincian tugas nomor 2"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.cell(3, 0));
        QCOMPARE(g.currentRow(), 1); // the old row is gone
        fillGrid(g, rows(0), kActivityColumns);
        QCOMPARE(g.rowCount(), 1);
        QCOMPARE(g.fixedRows(), 0);
        QCOMPARE(g.cell(0, 2), QStringLiteral("Jenis Akt."));
    }

    void selectedRowSurvivesARefresh()
    {
        StringGrid g;
        fillGrid(g, rows(4), kActivityColumns);
        g.setCurrentRow(3);
        fillGrid(g, rows(4), kActivityColumns);
        QCOMPARE(g.currentRow(), 3);
    }

    void missingColumnLeavesTheGridAlone()
    {
        StringGrid g;
        fillGrid(g, rows(2), kActivityColumns);
        std::vector<GridColumn> wrong = kActivityColumns;
        wrong.push_back(GridColumn::field(QStringLiteral("X"), 10, QStringLiteral("no_such_column")));
        QVERIFY_THROWS_EXCEPTION(db::DbError, fillGrid(g, rows(7), wrong));
        QCOMPARE(g.rowCount(), 3);
        QCOMPARE(g.colCount(), 6);
    }

    void cellsOverwriteAndShrink()
    {
        // The grid vocabulary outside the filling routine.
        StringGrid g;
        g.setColCount(3);
        g.setRowCount(4);
        g.setFixedRows(1);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 3; ++c)
                g.setCell(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        g.setCell(2, 1, QStringLiteral("baru ✓"));
        g.setColCount(2);
        g.setRowCount(3);
        QCOMPARE(g.cell(2, 1), QStringLiteral("baru ✓"));
        QCOMPARE(g.cell(1, 0), QStringLiteral("r1c0"));
        QCOMPARE(g.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("r0c1"));
        g.setFixedRows(0);
        QCOMPARE(g.model()->rowCount(), 3);
        QCOMPARE(g.model()->index(0, 0).data().toString(), QStringLiteral("r0c0"));
        // Many overwrites keep the text buffer bounded and the cells right.
        for (int i = 0; i < 20000; ++i)
            g.setCell(1, 1, QString(100, QChar('a' + i % 26)));
        QCOMPARE(g.cell(1, 1), QString(100, QChar('a' + 19999 % 26)));
        QCOMPARE(g.cell(2, 1), QStringLiteral("baru ✓"));
    }

    void fiftyThousandRowsAllShown()
    {
        StringGrid g;
        g.resize(1200, 700);
        const db::ResultSet rs = rows(50000);
        QCOMPARE(rs.recordCount(), 50000);
        fillGrid(g, rs, kActivityColumns);
        QCOMPARE(g.rowCount(), 50001);
        QCOMPARE(g.model()->rowCount(), 50000);
        QCOMPARE(g.cell(50000, 1), QStringLiteral("50000"));
        QCOMPARE(g.cell(50000, 3), QStringLiteral("Rincian tugas nomor 50000"));
        g.scrollToBottom();
        QVERIFY(g.visualRect(g.model()->index(49999, 3)).intersects(g.viewport()->rect()));
        QVERIFY(!g.grab().isNull());
    }

    void digitsOnlyFieldDropsOtherCharacters()
    {
        QLineEdit e;
        digitsOnly(&e);
        QTest::keyClicks(&e, QStringLiteral("12a3-.,x 4"));
        QCOMPARE(e.text(), QStringLiteral("1234"));
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QStringLiteral("123"));
        e.insert(QStringLiteral("9b")); // pasted text is held to digits too
        QCOMPARE(e.text(), QStringLiteral("123"));
        e.insert(QStringLiteral("45"));
        QCOMPARE(e.text(), QStringLiteral("12345"));
    }

    void enterStartsTheActionAndKeepsTheKey()
    {
        QLineEdit e;
        int started = 0;
        bool returnSeen = false;
        onEnter(&e, [&] { ++started; });
        connect(&e, &QLineEdit::returnPressed, this, [&] { returnSeen = true; });
        QTest::keyClicks(&e, QStringLiteral("abc"));
        QCOMPARE(started, 0);
        QTest::keyClick(&e, Qt::Key_Return);
        QTest::keyClick(&e, Qt::Key_Enter);
        QCOMPARE(started, 2);
        QVERIFY(returnSeen);

        // Enter starts nothing there, yet the field still gets the key.
        QLineEdit quiet;
        bool quietReturn = false;
        ignoreEnter(&quiet);
        connect(&quiet, &QLineEdit::returnPressed, this, [&] { quietReturn = true; });
        QTest::keyClicks(&quiet, QStringLiteral("x"));
        QTest::keyClick(&quiet, Qt::Key_Return);
        QCOMPARE(quiet.text(), QStringLiteral("x"));
        QVERIFY(quietReturn);
    }
};

QTEST_MAIN(TestListWidgets)
#include "test_listwidgets.moc"
