// Saving a list as a CSV file: the bytes a spreadsheet reads, the proposed
// file name, and the way from a page's own menu through the dialog seam to
// the file.
#include "activities/aktivitaspage.h"
#include "shell/indonesian.h"
#include "shell/pageheader.h"
#include "fakecontext.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Rows of text below a caption row, laid out as fillGrid lays out a list.
void fill(StringGrid& g, const QStringList& captions, const QList<QStringList>& rows, const QList<int>& widths)
{
    StringGrid::Batch batch(g);
    g.setColCount(int(captions.size()));
    g.setRowCount(int(rows.size()) + 1);
    g.setFixedRows(rows.isEmpty() ? 0 : 1);
    for (int c = 0; c < captions.size(); ++c) {
        g.setColWidth(c, widths[c]);
        g.setCell(0, c, captions[c]);
        for (int r = 0; r < rows.size(); ++r)
            g.setCell(r + 1, c, rows[r][c]);
    }
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QByteArray kBom("\xEF\xBB\xBF");

} // namespace

class TestExport : public QObject {
    Q_OBJECT
private slots:
    // The whole file of a small list: hidden column left out, captions
    // first, every kind of awkward text.
    void fixtureList()
    {
        StringGrid g;
        g.resize(300, 80); // shows two rows at most; all are written
        fill(g, {"Id", "No.", "Deskripsi", "Status"},
             {{"11", "1", "Rapat; koordinasi \"awal\"", "Ditolak Atasan"},
              {"12", "2", "Baris satu\nbaris dua", "Disetujui Atasan"},
              {"13", "3", "=HYPERLINK(\"http://x\")", "-"},
              {"14", "4", "Kunjungan ke Pulau \xF0\x9F\x8F\x9D Seribu", ""},
              {"15", "5", "-12,5", "+628123"}},
             {0, 30, 400, 100});
        QVERIFY(g.rowCount() == 6);
        const QByteArray expected = kBom +
                                    "No.;Deskripsi;Status\r\n"
                                    "1;\"Rapat; koordinasi \"\"awal\"\"\";Ditolak Atasan\r\n"
                                    "2;\"Baris satu\nbaris dua\";Disetujui Atasan\r\n"
                                    "3;\"'=HYPERLINK(\"\"http://x\"\")\";'-\r\n"
                                    "4;Kunjungan ke Pulau \xF0\x9F\x8F\x9D Seribu;\r\n"
                                    "5;-12,5;+628123\r\n";
        QCOMPARE(g.toCsv(), expected);
    }

    void emptyListIsItsCaptions()
    {
        StringGrid g;
        fill(g, {"Id", "NIP", "Nama"}, {}, {0, 120, 200});
        QCOMPARE(g.toCsv(), kBom + "NIP;Nama\r\n");
    }

    void fields_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain") << "Surat masuk" << QByteArray("Surat masuk");
        QTest::newRow("separator") << "a;b" << QByteArray("\"a;b\"");
        QTest::newRow("comma stays bare") << "a, b" << QByteArray("a, b");
        QTest::newRow("quote") << "5\" disket" << QByteArray("\"5\"\" disket\"");
        QTest::newRow("carriage return") << "a\r\nb" << QByteArray("\"a\r\nb\"");
        QTest::newRow("formula") << "=1+1" << QByteArray("'=1+1");
        QTest::newRow("at sign") << "@SUM(A1)" << QByteArray("'@SUM(A1)");
        QTest::newRow("dash bullet") << "- rapat" << QByteArray("'- rapat");
        QTest::newRow("tab first") << "\tx" << QByteArray("'\tx");
        QTest::newRow("formula with separator") << "=A1;B1" << QByteArray("\"'=A1;B1\"");
        QTest::newRow("negative number") << "-5" << QByteArray("-5");
        QTest::newRow("decimal comma") << "-0,75" << QByteArray("-0,75");
        QTest::newRow("signed phone") << "+6281234" << QByteArray("+6281234");
        QTest::newRow("dash alone") << "-" << QByteArray("'-");
        QTest::newRow("dangling decimal") << "-5." << QByteArray("'-5.");
        QTest::newRow("date") << "2026-12-01" << QByteArray("2026-12-01");
        QTest::newRow("NIP keeps its digits") << "199209162019032002" << QByteArray("\"=\"\"199209162019032002\"\"\"");
        QTest::newRow("leading zero kept") << "0812345" << QByteArray("\"=\"\"0812345\"\"\"");
        QTest::newRow("fifteen digits stay a number") << "123456789012345" << QByteArray("123456789012345");
        QTest::newRow("zero alone") << "0" << QByteArray("0");
        QTest::newRow("id") << "4711" << QByteArray("4711");
        QTest::newRow("empty") << "" << QByteArray("");
    }

    void fields()
    {
        QFETCH(QString, cell);
        QFETCH(QByteArray, field);
        StringGrid g;
        fill(g, {"A"}, {{cell}}, {50});
        QCOMPARE(g.toCsv(), kBom + "A\r\n" + field + "\r\n");
    }

    void fileName_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QDate>("from"); // invalid: no date range on the page
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("name");
        const QDate today(2026, 12, 11);
        QTest::newRow("range") << "Aktivitas Harian PNS a.n. Rina Marlina" << QDate(2026, 12, 1) << today
                               << "Aktivitas Harian PNS a.n. Rina Marlina 2026-12-01 sd 2026-12-11.csv";
        QTest::newRow("one day") << "Log" << today << today << "Log 2026-12-11.csv";
        QTest::newRow("no range: today") << "Data Bawahan" << QDate() << QDate() << "Data Bawahan 2026-12-11.csv";
        QTest::newRow("characters no file may hold")
            << "Aktivitas a.n. A/B: \"C\" <x>|*?\\" << QDate() << QDate()
            << "Aktivitas a.n. A-B- -C- -x----- 2026-12-11.csv";
        QTest::newRow("no caption") << "   " << QDate() << QDate() << "Data 2026-12-11.csv";
    }

    void fileName()
    {
        QFETCH(QString, title);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, name);
        StringGrid g;
        QDateEdit a(from), b(to);
        if (from.isValid())
            g.setExportDates(&a, &b);
        QCOMPARE(g.exportFileName(title, QDate(2026, 12, 11)), name);
    }

    // The page's own menu of its list offers the entry; choosing it asks for
    // the file through the dialog seam and writes the list there.
    void pageMenuSavesTheList()
    {
        QTemporaryDir dir;
        FakeContext ctx(QStringLiteral("t_export"), QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        AktivitasPage page(ctx);
        ctx.styleHeader(page.header(), QStringLiteral("Aktivitas Harian PNS a.n. Rina Marlina"));
        page.xAktivitasTanggalAwal->setDate(QDate(2026, 12, 1));
        page.xAktivitasTanggalAkhir->setDate(QDate(2026, 12, 11));
        fill(*page.sg_aktivitas, {"Id", "No.", "Aktivitas"}, {{"7", "1", "Surat"}, {"8", "2", "Rapat"}},
             {0, 30, 300});

        QAction* entry = nullptr;
        for (QAction* a : page.poAktivitas->actions())
            if (a->text() == QLatin1String("Ekspor ke CSV..."))
                entry = a;
        QVERIFY(entry);
        QCOMPARE(entry, page.sg_aktivitas->exportAction());
        QCOMPARE(entry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));

        const QString path = dir.filePath(QStringLiteral("aktivitas.csv"));
        QString proposed;
        ctx.dialogRunner.expect([&](QDialog& d) {
            auto* fd = qobject_cast<QFileDialog*>(&d);
            QVERIFY(fd);
            QCOMPARE(fd->acceptMode(), QFileDialog::AcceptSave);
            proposed = QFileInfo(fd->selectedFiles().value(0)).fileName();
            fd->selectFile(path);
            d.accept(); // the file dialog's own accept, with its checks
        });
        entry->trigger();
        QCOMPARE(proposed, QStringLiteral("Aktivitas Harian PNS a.n. Rina Marlina 2026-12-01 sd 2026-12-11.csv"));
        QCOMPARE(ctx.dialogRunner.lastEnd(), DialogEnd::Accepted);
        QCOMPARE(readAll(path), kBom + "No.;Aktivitas\r\n1;Surat\r\n2;Rapat\r\n");
        QCOMPARE(ctx.msgs.lastKind(), Messages::Kind::Information);
        QCOMPARE(ctx.msgs.last(), "Data berhasil diekspor ke file CSV:\r" + QDir::toNativeSeparators(path));

        // The button of the bar does the same.
        auto* button = page.findChild<QPushButton*>(QStringLiteral("btEksporCsv"));
        QVERIFY(button);
        ctx.dialogRunner.expect([&](QDialog& d) { d.reject(); });
        ctx.msgs.clear();
        QFile::remove(path);
        button->click();
        QCOMPARE(ctx.dialogRunner.opened.size(), 2);
        // Cancelled: nothing written, nothing said.
        QVERIFY(!QFile::exists(path));
        QVERIFY(ctx.msgs.log.isEmpty());
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("target"); // relative to a scratch folder
        QTest::addColumn<QString>("reason");
        QTest::newRow("no such folder") << "hilang/data.csv"
                                        << "File tidak dapat dibuat: folder tidak ada atau tidak boleh ditulisi.";
        QTest::newRow("a folder of that name") << "folder.csv" << "Sudah ada folder dengan nama itu.";
    }

    void failuresAreReported()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));
        FakeContext ctx(QStringLiteral("t_export"));
        AktivitasPage page(ctx);
        fill(*page.sg_aktivitas, {"No.", "Aktivitas"}, {{"1", "Surat"}}, {30, 300});
        const QString path = dir.filePath(target);
        // Past the dialog's own checks, as a name typed a moment before the
        // folder went away would be.
        ctx.dialogRunner.expect([&](QDialog& d) {
            auto* fd = qobject_cast<QFileDialog*>(&d);
            QVERIFY(fd);
            fd->setDirectory(dir.path()); // where the user looked
            fd->selectFile(path);
            d.done(QDialog::Accepted);
        });
        page.sg_aktivitas->exportAction()->trigger();
        QCOMPARE(ctx.msgs.texts(),
                 QStringList{"Gagal menyimpan file CSV!\r\r" + QDir::toNativeSeparators(path) + "\r" + reason});
        QCOMPARE(ctx.msgs.lastKind(), Messages::Kind::Warning);
    }

    // Every save dialog (the lists' CSV, the report's PDF) opens in the
    // folder of the last file saved, for as long as the program runs.
    void saveDialogsOpenInTheLastFolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("csv")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("pdf")));
        const QString csvFolder = dir.filePath(QStringLiteral("csv"));
        const QString pdfFolder = dir.filePath(QStringLiteral("pdf"));
        FakeContext ctx(QStringLiteral("t_export"));
        AktivitasPage page(ctx);
        fill(*page.sg_aktivitas, {"No.", "Aktivitas"}, {{"1", "Surat"}}, {30, 300});
        QStringList openedIn;
        const auto saveAs = [&](const QString& path) {
            ctx.dialogRunner.expect([&, path](QDialog& d) {
                auto& fd = static_cast<QFileDialog&>(d);
                openedIn << fd.directory().absolutePath();
                if (path.isEmpty()) {
                    d.reject();
                    return;
                }
                fd.selectFile(path);
                d.accept();
            });
            page.sg_aktivitas->exportAction()->trigger();
        };
        saveAs(csvFolder + QStringLiteral("/satu.csv"));
        saveAs(QString()); // cancelled: the folder stays
        saveAs(QString());
        QCOMPARE(openedIn.mid(1), (QStringList{csvFolder, csvFolder}));

        // The report's dialog is prepared the same way, and its folder is
        // where the next export opens.
        QFileDialog report;
        prepareSaveDialog(report, QStringLiteral("Dokumen PDF (*.pdf)"), QStringLiteral("pdf"));
        QCOMPARE(report.directory().absolutePath(), csvFolder);
        report.selectFile(pdfFolder + QStringLiteral("/laporan.pdf"));
        static_cast<QDialog&>(report).accept(); // the file dialog's own accept
        QCOMPARE(savedFile(report), pdfFolder + QStringLiteral("/laporan.pdf"));
        saveAs(QString());
        QCOMPARE(openedIn.last(), pdfFolder);
    }

    void emptyListIsRefused()
    {
        FakeContext ctx(QStringLiteral("t_export"));
        AktivitasPage page(ctx);
        fill(*page.sg_aktivitas, {"No.", "Aktivitas"}, {}, {30, 300});
        page.sg_aktivitas->exportAction()->trigger();
        // Nothing to save: the standard refusal, no dialog.
        QCOMPARE(ctx.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::TidakAdaDipilih)});
        QVERIFY(ctx.dialogRunner.opened.isEmpty());
    }
};

QTEST_MAIN(TestExport)
#include "test_export.moc"
