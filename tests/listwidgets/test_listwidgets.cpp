// The list grid and its filling convention, and the shared key filters.
#include "db/dberror.h"
#include "ui/keyfilters.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/controls.h"
#include "ui/designfont.h"
#include "ui/stringgrid.h"
#include "testdb.h"
#include "testhost.h"

#include <QApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QToolTip>

#include <cmath>

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

// Drags the right edge of a column by dx pixels, as a user does.
void dragColumnEdge(StringGrid& g, int col, int dx)
{
    QHeaderView* h = g.horizontalHeader();
    const QPoint edge(h->sectionViewportPosition(col) + h->sectionSize(col) - 1, h->height() / 2);
    QTest::mousePress(h->viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(h->viewport(), edge + QPoint(dx, 0));
    QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, edge + QPoint(dx, 0));
}

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
    void initTestCase()
    {
        registerDesignFont();
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("dbcore.sql")}));
    }

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
        g.setFont(designFont()); // where the design widths are the widths
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

    // The widths are the design at Tahoma 13 px. In any font the grid scales
    // them and shows every caption, date, status and running number whole.
    void columnsFitTheFont_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixels");
        QTest::newRow("design font") << "Tahoma" << 13;
        QTest::newRow("Debian's fallback") << "DejaVu Sans" << 13;
        QTest::newRow("large fallback") << "DejaVu Sans" << 18;
    }

    void columnsFitTheFont()
    {
        QFETCH(QString, family);
        QFETCH(int, pixels);
        QFont font(family);
        font.setPixelSize(pixels);
        QCOMPARE(QFontInfo(font).family(), family); // installed and found

        StringGrid g;
        g.setFont(font);
        g.resize(1300, 300);
        const std::vector<GridColumn> columns{
            GridColumn::field(QStringLiteral("Id"), 0, QStringLiteral("id")),
            GridColumn::recNo(),
            GridColumn::field(QStringLiteral("Jenis Akt."), 70, QStringLiteral("jenis_jabatan")),
            GridColumn::field(QStringLiteral("Volume"), 40, QStringLiteral("volume")),
            GridColumn::field(QStringLiteral("Status"), g.fitted(100, QStringLiteral("Disetujui Supervisi")),
                              QStringLiteral("status_deskripsi")),
            GridColumn::field(QStringLiteral("Tgl. Aktivitas"), g.fitted(75, QStringLiteral("0000-00-00")),
                              QStringLiteral("tanggal_aktivitas")),
            GridColumn::field(QStringLiteral("Tgl. Input"), g.fitted(75, QStringLiteral("0000-00-00 00:00:00")),
                              QStringLiteral("tanggal_input")),
        };
        fillGrid(g, rows(1200), columns);

        const bool design = family == QLatin1String("Tahoma") && pixels == 13;
        QCOMPARE(g.widthScale() == 1.0, design);
        const QFontMetrics cellFont(g.font());
        const QFontMetrics captionFont(g.horizontalHeader()->font());
        const int captionMargins = 2 * g.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, g.horizontalHeader());
        for (int c = 1; c < g.colCount(); ++c) {
            const int shown = g.horizontalHeader()->sectionSize(c);
            QVERIFY2(shown >= std::ceil(g.colWidth(c) * g.widthScale() - 1e-6), qPrintable(g.cell(0, c)));
            QVERIFY2(captionFont.horizontalAdvance(g.cell(0, c)) + captionMargins <= shown, qPrintable(g.cell(0, c)));
            for (int r = 1; r < g.rowCount(); ++r)
                QVERIFY2(cellFont.horizontalAdvance(g.cell(r, c)) + 5 <= shown,
                         qPrintable(QStringLiteral("%1 of row %2 is cut").arg(g.cell(0, c)).arg(r)));
        }
        if (design) // the design itself is untouched
            QCOMPARE(g.horizontalHeader()->sectionSize(2), 70);
    }

    // Short of room, the widest free-text column gives way first, then both
    // alike, down to their least; when the other columns would still not
    // be in view, further down to their floor (and no further). A cut text
    // ends in "..." and shows whole as the tooltip.
    void widestFreeTextGivesWayFirst_data()
    {
        QTest::addColumn<int>("room"); // for task (300) and description (400)
        QTest::addColumn<int>("task");
        QTest::addColumn<int>("description");
        QTest::newRow("all room") << 760 << 300 << 400;
        QTest::newRow("description gives") << 650 << 300 << 350;
        QTest::newRow("both give") << 500 << 250 << 250;
        QTest::newRow("at the least") << 200 << 100 << 100;
        QTest::newRow("below the least") << 150 << 75 << 75;
        QTest::newRow("at the floor") << 120 << 60 << 60;
        QTest::newRow("short of the floors") << 80 << 60 << 60;
    }

    void widestFreeTextGivesWayFirst()
    {
        QFETCH(int, room);
        QFETCH(int, task);
        QFETCH(int, description);
        StringGrid g;
        g.setFont(designFont());
        g.setElasticColumns({3, 4}, 100);
        fillGrid(g, rows(3), kActivityColumns);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const int others = 30 + 70 + 80;
        g.resize(others + room + g.width() - g.viewport()->width(), 300);
        QCOMPARE(g.viewport()->width(), others + room);
        QCOMPARE(g.horizontalHeader()->sectionSize(3), task);
        QCOMPARE(g.horizontalHeader()->sectionSize(4), description);

        const QRect cell = g.visualRect(g.model()->index(0, 4));
        QHelpEvent tip(QEvent::ToolTip, cell.center(), g.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(g.viewport(), &tip);
        const QString text = g.cell(1, 4);
        const bool cut = g.fontMetrics().horizontalAdvance(text) > description - 5;
        QCOMPARE(QToolTip::text(), cut ? text : QString());
        QToolTip::hideText();
    }

    void userWidthsLastThroughRefills()
    {
        StringGrid g;
        g.resize(700, 300);
        g.setElasticColumns({3, 4}, 100);
        fillGrid(g, rows(3), kActivityColumns);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QHeaderView* h = g.horizontalHeader();
        const int narrowDescription = h->sectionSize(4);
        const int baseCount = h->sectionSize(5);
        QVERIFY(narrowDescription < 400); // given way to the others

        dragColumnEdge(g, 5, 60);
        dragColumnEdge(g, 3, -40); // a column that gives way, sized by the user
        const int count = h->sectionSize(5);
        const int task = h->sectionSize(3);
        QCOMPARE(count, baseCount + 60);
        QVERIFY(g.hasUserWidth(5) && g.hasUserWidth(3) && !g.hasUserWidth(4));

        fillGrid(g, rows(4), kActivityColumns);
        g.resize(760, 300); // the grid's own fitting leaves the user's widths alone
        QCOMPARE(h->sectionSize(5), count);
        QCOMPARE(h->sectionSize(3), task);

        // Another list in the same place: a column of another caption does
        // not inherit the width.
        std::vector<GridColumn> other = kActivityColumns;
        other[5].header = QStringLiteral("Volume");
        fillGrid(g, rows(4), other);
        QCOMPARE(h->sectionSize(5), baseCount);
        QVERIFY(!g.hasUserWidth(5));
        fillGrid(g, rows(4), kActivityColumns);
        QCOMPARE(h->sectionSize(5), count);

        g.forgetUserWidths();
        QCOMPARE(h->sectionSize(5), baseCount);
        QVERIFY(!g.hasUserWidth(3));
        QVERIFY(h->sectionSize(3) != task);
        fillGrid(g, rows(4), kActivityColumns);
        QCOMPARE(h->sectionSize(5), baseCount);
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
        // The running number column holds the last number whole.
        QVERIFY(g.fontMetrics().horizontalAdvance(QStringLiteral("50000")) + 5 <= g.horizontalHeader()->sectionSize(1));
        g.scrollToBottom();
        QVERIFY(g.visualRect(g.model()->index(49999, 3)).intersects(g.viewport()->rect()));
        QVERIFY(!g.grab().isNull());
    }

    // The keyboard walks the rows and leaves the list with Tab; a
    // double-click on a row (never on the captions of an empty list) asks
    // for its details.
    void keysAndDoubleClickOnTheRows()
    {
        QWidget window;
        auto* g = new StringGrid(&window);
        auto* after = new QPushButton(QStringLiteral("Info"), &window);
        auto* v = new QVBoxLayout(&window);
        v->addWidget(g);
        v->addWidget(after);
        window.resize(900, 400);
        fillGrid(*g, rows(5), kActivityColumns); // the key column hidden
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        g->setFocus();
        g->setCurrentRow(1);
        QTest::keyClick(g, Qt::Key_Down);
        QTest::keyClick(g, Qt::Key_Down);
        QCOMPARE(g->currentRow(), 3);
        QTest::keyClick(g, Qt::Key_Up);
        QCOMPARE(g->currentRow(), 2);
        QTest::keyClick(g, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(after));

        QSignalSpy asked(g, &StringGrid::rowDoubleClicked);
        const QPoint fourth = g->visualRect(g->model()->index(4 - g->fixedRows(), 3)).center();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, fourth);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, fourth);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().first().toInt(), 4);
        QCOMPARE(g->currentRow(), 4);

        fillGrid(*g, rows(0), kActivityColumns);
        const QPoint captions = g->visualRect(g->model()->index(0, 3)).center();
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, captions);
        QCOMPARE(asked.size(), 1);
    }

    // Typing into a date picker where the user clicks or moves the cursor;
    // a year beyond the field's bounds does not get in.
    void datesTakeTyping_data()
    {
        QTest::addColumn<int>("clickAt"); // cursor position in "15/06/2026", or -1
        QTest::addColumn<int>("key");     // a key pressed before typing, or 0
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");
        QTest::newRow("click into the year") << 8 << 0 << "2025" << QDate(2025, 6, 15);
        QTest::newRow("click at the end") << 10 << 0 << "2024" << QDate(2024, 6, 15);
        QTest::newRow("click into the day") << 1 << 0 << "09" << QDate(2026, 6, 9);
        QTest::newRow("click into the month, the year follows") << 4 << 0 << "11/2025" << QDate(2025, 11, 15);
        QTest::newRow("Home") << -1 << int(Qt::Key_Home) << "3" << QDate(2026, 6, 3);
        QTest::newRow("End") << -1 << int(Qt::Key_End) << "2023" << QDate(2023, 6, 15);
        QTest::newRow("a year far ahead") << 8 << 0 << "2202" << QDate(2026, 6, 15);
        QTest::newRow("a year before the system") << 8 << 0 << "1999" << QDate(2026, 6, 15);
    }

    void datesTakeTyping()
    {
        QFETCH(int, clickAt);
        QFETCH(int, key);
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QWidget window;
        QDateEdit* d = datePicker("dtUji", &window, QDate(2026, 6, 15));
        auto* other = new QLineEdit(&window);
        auto* v = new QVBoxLayout(&window);
        v->addWidget(d);
        v->addWidget(other);
        d->setDate(QDate(2026, 6, 15));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* line = d->findChild<QLineEdit*>();
        QVERIFY(line);
        if (clickAt >= 0) {
            int x = 0;
            while (x < line->width() && line->cursorPositionAt(QPoint(x, line->height() / 2)) < clickAt)
                ++x;
            QTest::mouseClick(line, Qt::LeftButton, Qt::NoModifier, QPoint(x, line->height() / 2));
        } else {
            d->setFocus();
            QTest::keyClick(d, Qt::Key(key));
        }
        QTest::keyClicks(d, typed);
        other->setFocus(); // leaving the field settles it
        QCOMPARE(d->date(), date);
        QCOMPARE(line->text(), date.toString(QStringLiteral("dd/MM/yyyy")));
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
