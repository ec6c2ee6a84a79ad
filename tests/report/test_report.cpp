// The printable monthly activity report: the PDF of a fixture month read
// back as text (as the servant prints it from the own list and as the
// direct superior prints it from the subordinate list), whom the server
// lets print whose month, and what the pages refuse before asking it.
#include "activities/aktivitaspage.h"
#include "appcaller.h"
#include "fakecontext.h"
#include "orgfixture.h"
#include "report/ulaporan_bulanan.h"
#include "supervision/bawahanpage.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLocale>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_report");
const QString kCall = QStringLiteral("CALL kinerja_laporan_bulanan(:var_nip, :var_periode)");

QString rootValue(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QDate serverToday()
{
    return QDate::fromString(rootValue(QStringLiteral("SELECT CURDATE()")), Qt::ISODate);
}

// The text of a PDF as pdftotext lays it out, whitespace runs made single
// spaces, so that a table row reads as one line of words.
QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") + QString::fromUtf8(p.readAllStandardError());
    // NFKC: the typesetter joins "fi" into one ligature glyph.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC).simplified();
}

struct PdfWord {
    int page = 0;
    QRectF box; // in points
    QString text;
};

// Every word of a PDF with its box, as pdftotext -bbox gives them, in
// reading order.
QList<PdfWord> pdfWords(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression token(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    int page = 0;
    for (auto it = token.globalMatch(out); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        words.append({page, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                   QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                      m.captured(5)});
    }
    return words;
}

// The blank above the last place where a signer's name is printed: from the
// lowest text above it in its half of the page down to the name, in cm;
// -1 when the name is not there.
double roomAboveCm(const QList<PdfWord>& words, const QString& name, double pageWidth)
{
    const QStringList parts = name.split(QLatin1Char(' '));
    int at = -1;
    for (int i = 0; i + parts.size() <= words.size(); ++i) {
        bool same = true;
        for (int k = 0; k < parts.size() && same; ++k)
            same = words[i + k].text == parts[k];
        if (same)
            at = i;
    }
    if (at < 0)
        return -1;
    const PdfWord& first = words[at];
    const bool left = first.box.center().x() < pageWidth / 2;
    double above = 0;
    for (const PdfWord& w : words)
        if (w.page == first.page && w.box.bottom() <= first.box.top() &&
            (w.box.center().x() < pageWidth / 2) == left)
            above = std::max(above, w.box.bottom());
    return (first.box.top() - above) / 72.0 * 2.54;
}

// Opens the subordinate list and selects the row of a NIP; its row, or -1.
int openAndSelect(BawahanPage& list, const QString& nip)
{
    list.dxTarvesaItems3Click();
    for (int r = 1; r < list.sg_bawahan->rowCount(); ++r)
        if (list.sg_bawahan->cell(r, 1) == nip) {
            list.sg_bawahan->setCurrentRow(r);
            return r;
        }
    return -1;
}

// Answers the save dialog with a path, as a user typing it and pressing
// "Simpan" would.
void expectSaveAs(FakeContext& ctx, const QString& path)
{
    ctx.dialogRunner.expect([path](QDialog& d) {
        static_cast<QFileDialog&>(d).selectFile(path);
        d.accept(); // QFileDialog's own accept, which takes the typed name
    });
}

// Drives the report dialog: picks the month (or checks the one it offers),
// then "Simpan PDF" into the given path through the save dialog.
void expectPdf(FakeContext& ctx, const QDate& month, bool offered, const QString& path)
{
    ctx.dialogRunner.expect([month, offered](QDialog& d) {
        auto& report = static_cast<Tf_laporanBulanan&>(d);
        if (offered) {
            QCOMPARE(report.periode(), month.toString(QStringLiteral("yyyyMM")));
        } else {
            report.cbLaporanBulan->setCurrentIndex(month.month() - 1);
            report.seLaporanTahun->setValue(month.year());
        }
        report.btSimpanPdf->click();
    });
    expectSaveAs(ctx, path);
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private:
    QDate prevMonth_;

private slots:
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("progress.sql"),
                                               QStringLiteral("report.sql")}));
        prevMonth_ = serverToday().addMonths(-1);
        QVERIFY(testdb::rootExec(kSchema, QStringLiteral("CALL kinerja_progress_hitung('%1')")
                                              .arg(prevMonth_.toString(QStringLiteral("yyyyMM")))));
    }

    void pdfOfFixtureMonth_data()
    {
        QTest::addColumn<QString>("actor");
        QTest::addColumn<QString>("actorName");
        QTest::addColumn<bool>("fromSubordinates");
        QTest::newRow("the servant, from the own activity list") << kPelaksana << "Pelaksana Empat" << false;
        QTest::newRow("the direct superior, from the subordinate list") << kKabid << "Kabid Dua" << true;
    }
    void pdfOfFixtureMonth()
    {
        QFETCH(QString, actor);
        QFETCH(QString, actorName);
        QFETCH(bool, fromSubordinates);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("laporan.pdf"));

        FakeContext ctx(kSchema, QDateTime(serverToday(), QTime(9, 0)));
        QVERIFY(ctx.actAs(actor, actorName));
        AktivitasPage own(ctx);
        BawahanPage subordinates(ctx);
        if (fromSubordinates) {
            // The subordinate list offers the current month; the superior
            // picks the previous one.
            expectPdf(ctx, prevMonth_, false, path);
            QVERIFY(openAndSelect(subordinates, kPelaksana) > 0);
            subordinates.CetakLaporan2->trigger();
        } else {
            // The own list offers the month in which its range starts.
            expectPdf(ctx, prevMonth_, true, path);
            own.xAktivitasTanggalAwal->setDate(prevMonth_);
            own.CetakLaporan1->trigger();
        }
        QCOMPARE(ctx.dialogRunner.opened, QStringList({"Tf_laporanBulanan", "QFileDialog"}));
        QCOMPARE(ctx.msgs.lastKind(), Messages::Kind::Information);
        QVERIFY(ctx.msgs.last().startsWith(QStringLiteral("Laporan bulanan tersimpan di ")));

        const QString text = pdfText(path);
        const QString month = QLocale(QLocale::Indonesian).standaloneMonthName(prevMonth_.month()) +
                              QLatin1Char(' ') + QString::number(prevMonth_.year());
        const QStringList expected{
            // header
            "PEMERINTAH KABUPATEN KELORDAN", "DINAS UJI COBA", "LAPORAN BULANAN AKTIVITAS HARIAN PNS",
            "Bulan " + month, "Nama : Pelaksana Empat", "NIP : 199104042016011004", "Pangkat/Gol. : Pengatur (II/c)",
            "Jabatan : Pengadministrasi Uji", "Unit Kerja : Bidang Satu",
            // rows, in the order of the days, markup printed as typed
            "Dua kali enam puluh menit kerja", "Tugas tambahan diterima sistem", "Lainnya ditolak oleh supervisi",
            "Disetujui Sistem", "Ditolak Supervisi", "Uji <b>tebal</b> & \"kutip\" tetap",
            // totals per type: activities, recognised minutes, the dashboard's percentage
            "Utama 5 420 42.00 %", "Tambahan 1 30 3.00 %", "Lainnya 2 30 3.00 %", "Jumlah 8 480 48.00 %",
            "Menit diakui : 480 dari target 1000 menit", "Capaian progress bulanan : 48.00 %",
            "(termasuk yang belum diverifikasi) : 550 menit (55.00 %)",
            // signatures
            "Atasan Langsung", "PNS yang bersangkutan", "Kabid Dua", "NIP. 198102022006011002", "Pelaksana Empat",
            "NIP. 199104042016011004",
            // numbered pages
            "Halaman 1 dari"};
        for (const QString& e : expected)
            QVERIFY2(text.contains(e), qPrintable("missing \"" + e + "\" in: " + text));
        // Only this servant's month.
        for (const char* other : {"Dua bulan lalu tidak dihitung", "Bulan ini sepuluh menit kerja",
                                  "Tepat pada batas operasional", "Lima menit saja"})
            QVERIFY2(!text.contains(QString::fromUtf8(other)), other);
        QVERIFY(text.indexOf("Dua kali enam puluh") < text.indexOf("Uji <b>tebal</b>"));

        // Room to sign between each signer's position and name (A4
        // landscape: 842 points wide).
        const QList<PdfWord> words = pdfWords(path);
        for (const QString& signer : {QStringLiteral("Kabid Dua"), QStringLiteral("Pelaksana Empat")}) {
            const double room = roomAboveCm(words, signer, 842);
            QVERIFY2(room >= 2.5, qPrintable(QStringLiteral("%1: %2 cm").arg(signer).arg(room)));
        }
    }

    // Straight calls as a modified client would send them.
    void whoMayPrint_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("periode");
        QTest::addColumn<bool>("allowed");
        const QString prev = prevMonth_.toString(QStringLiteral("yyyyMM"));
        QTest::newRow("self") << kPelaksana << kPelaksana << prev << true;
        QTest::newRow("direct superior") << kKabid << kPelaksana << prev << true;
        QTest::newRow("acting direct superior") << kPlt << kPengelola << prev << true;
        QTest::newRow("two levels up, also Admin System") << kKepala << kPelaksana << prev << false;
        QTest::newRow("stranger, a peer who is Admin Sektira") << kAnalis << kPelaksana << prev << false;
        QTest::newRow("stranger, another field") << kPengelola << kPelaksana << prev << false;
        QTest::newRow("subordinate asking for the superior") << kPelaksana << kKabid << prev << false;
        QTest::newRow("anonymous") << QString() << kPelaksana << prev << false;
        QTest::newRow("self, month out of range") << kPelaksana << kPelaksana << "202613" << false;
        QTest::newRow("self, month not a number") << kPelaksana << kPelaksana << "2026-1" << false;
        QTest::newRow("self, month not yet begun")
            << kPelaksana << kPelaksana << serverToday().addMonths(1).toString(QStringLiteral("yyyyMM")) << false;
    }
    void whoMayPrint()
    {
        QFETCH(QString, caller);
        QFETCH(QString, nip);
        QFETCH(QString, periode);
        QFETCH(bool, allowed);
        AppCaller app(kSchema, caller);
        const QStringList header =
            app.call(kCall, {{QStringLiteral("var_nip"), nip}, {QStringLiteral("var_periode"), periode}});
        if (!allowed) {
            QCOMPARE(header, QStringList{QStringLiteral("refused")});
            return;
        }
        QCOMPARE(header.size(), 1);
        QVERIFY2(header[0].contains(nip), qPrintable(header[0]));
    }

    // The subordinate list offers the report of direct subordinates only;
    // a two-level row is answered on the page without a dialog.
    void twoLevelRowStaysOnThePage()
    {
        FakeContext ctx(kSchema, QDateTime(serverToday(), QTime(9, 0)));
        QVERIFY(ctx.actAs(kKepala, QStringLiteral("Kepala Satu")));
        BawahanPage subordinates(ctx);
        const int row = openAndSelect(subordinates, kPelaksana);
        QVERIFY(row > 0);
        QCOMPARE(subordinates.sg_bawahan->cell(row, 8), QStringLiteral("Bawahan Dua Tingkat"));
        subordinates.CetakLaporan2->trigger();
        QVERIFY(ctx.dialogRunner.opened.isEmpty());
        QCOMPARE(ctx.msgs.last(), QStringLiteral("Laporan bulanan hanya dapat dicetak untuk bawahan langsung!"));
    }

    // A month not yet begun and a folder nobody can write to end in a
    // message; nothing is asked of the user that the report then loses.
    void refusedSaves()
    {
        FakeContext ctx(kSchema, QDateTime(serverToday(), QTime(9, 0)));
        QVERIFY(ctx.actAs(kPelaksana, QStringLiteral("Pelaksana Empat")));
        const QDate next = serverToday().addMonths(1);
        {
            Tf_laporanBulanan report(ctx, kPelaksana, QStringLiteral("Pelaksana Empat"), next);
            report.btSimpanPdf->click();
            QVERIFY(ctx.dialogRunner.opened.isEmpty());
            QCOMPARE(ctx.msgs.last(), QStringLiteral("Bulan laporan belum berjalan!"));
        }
        {
            Tf_laporanBulanan report(ctx, kPelaksana, QStringLiteral("Pelaksana Empat"), prevMonth_);
            expectSaveAs(ctx, QStringLiteral("/proc/tidak-bisa/laporan.pdf"));
            report.btSimpanPdf->click();
            QCOMPARE(ctx.dialogRunner.opened, QStringList{QStringLiteral("QFileDialog")});
            QCOMPARE(ctx.msgs.lastKind(), Messages::Kind::Warning);
            QCOMPARE(ctx.msgs.last(), QStringLiteral("Gagal menyimpan file PDF laporan bulanan!"));
        }
    }

    // A month without activities and without computed progress still
    // prints, saying so instead of showing zeros as figures.
    void emptyMonthWithoutProgress()
    {
        FakeContext ctx(kSchema, QDateTime(serverToday(), QTime(9, 0)));
        QVERIFY(ctx.actAs(kPelaksana, QStringLiteral("Pelaksana Empat")));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kosong.pdf"));
        const QDate old = serverToday().addMonths(-6);
        Tf_laporanBulanan report(ctx, kPelaksana, QStringLiteral("Pelaksana Empat"), old);
        expectSaveAs(ctx, path);
        report.btSimpanPdf->click();
        const QString text = pdfText(path);
        QVERIFY2(text.contains("Tidak ada aktivitas pada bulan ini."), qPrintable(text));
        QVERIFY2(text.contains("Progress bulan ini belum dihitung server"), qPrintable(text));
        QVERIFY2(text.contains("Jumlah 0 - -"), qPrintable(text));
    }

    // A server that answers something else than the report: the standard
    // message, and no save dialog for a report that is not there.
    void nonsenseAnswer_data()
    {
        QTest::addColumn<QString>("body");
        QTest::newRow("two results of other columns") << "SELECT 1 AS x; SELECT 2 AS y";
        QTest::newRow("one row of the servant, other columns") << "SELECT * FROM cache_pns WHERE nip = var_nip";
        QTest::newRow("no result at all") << "DO 0";
    }
    void nonsenseAnswer()
    {
        QFETCH(QString, body);
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_laporan_bulanan;\nDELIMITER $$\n"
                                          "CREATE PROCEDURE kinerja_laporan_bulanan(var_nip VARCHAR(40), "
                                          "var_periode VARCHAR(10)) BEGIN " + body + "; END $$\n"));
        FakeContext ctx(kSchema, QDateTime(serverToday(), QTime(9, 0)));
        QVERIFY(ctx.actAs(kPelaksana, QStringLiteral("Pelaksana Empat")));
        Tf_laporanBulanan report(ctx, kPelaksana, QStringLiteral("Pelaksana Empat"), prevMonth_);
        report.btSimpanPdf->click();
        report.btPratinjau->click();
        QVERIFY(ctx.dialogRunner.opened.isEmpty());
        QCOMPARE(ctx.msgs.texts(), QStringList(2, QString::fromUtf8(stdmsg::GagalMenampilkan)));
    }
    void cleanupTestCase()
    {
        // The real procedure again, for whoever reads the schema afterwards.
        QVERIFY(testdb::createSchema(kSchema));
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
