// The quality-assessment and additional-task pages with their dialogs, as a
// superior drives them, against the server.
#include "shell/pageheader.h"
#include "app/umain.h"
#include "db/query.h"
#include "supervision/bawahanpage.h"
#include "supervision/bwkualmutupage.h"
#include "supervision/bwtugastambahanpage.h"
#include "supervision/ut_tugas.h"
#include "supervision/uu_kualmutu.h"
#include "ui/stringgrid.h"
#include "fakecontext.h"
#include "mainfixture.h"
#include "orgfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_quality_tasks");
const QString kNotSelected = QString::fromUtf8(stdmsg::TidakAdaDipilih);
const QString kGagalMenampilkan = QString::fromUtf8(stdmsg::GagalMenampilkan);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kGreen(0x00, 0x80, 0x00);

QString rootValue(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

// The period being assessed, as key and as text.
QString period()
{
    return rootValue("SELECT DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m')");
}
QString periodText()
{
    return rootValue("SELECT kinerja_fn_periode_teks(DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m'))");
}

QColor background(const QWidget* w)
{
    return w->palette().color(QPalette::Window);
}

// A superior logged in on the server: every connection of a page binds to
// the session before its statement, as the server demands of personal data.
struct Superior : FakeContext {
    Superior(const QString& nip, const QString& name) : FakeContext(kSchema)
    {
        actAs(nip, name, QStringLiteral("Supervisor"));
        sessionValue.kode_induk = QStringLiteral("U1");
    }
};

struct Quality {
    Quality() : ctx(kKabid, QStringLiteral("Kabid Dua")), page(ctx) {}
    Superior ctx;
    BwKualMutuPage page;
};

struct Tasks {
    Tasks() : ctx(kKabid, QStringLiteral("Kabid Dua")), page(ctx) {}
    Superior ctx;
    BwTugasTambahanPage page;

    int rowOf(const QString& position) const
    {
        for (int r = 1; r < page.sg_BwTugasTambahan->rowCount(); ++r)
            if (page.sg_BwTugasTambahan->cell(r, 2) == position)
                return r;
        return -1;
    }
};

QString setProgress(const QString& nip, const QString& progress)
{
    const QString del = "DELETE FROM kinerja_progress WHERE nip = '" + nip + "'";
    if (progress.isEmpty())
        return testdb::rootExec(kSchema, del) ? QString() : QStringLiteral("failed");
    return testdb::rootExec(kSchema, del + "; INSERT INTO kinerja_progress (nip, periode, target_menit, persen_diakui, "
                                           "tanggal_progress) VALUES ('" +
                                           nip + "', DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m'), 1000, " +
                                           progress + ", NOW())")
               ? QString()
               : QStringLiteral("failed");
}

QString storedGrades(const QString& nip)
{
    return rootValue("SELECT COALESCE(MAX(CONCAT(ketepatan, '/', kecepatan, '/', nip_penilai)), 'none') FROM "
                     "kualitas_mutu WHERE nip = '" +
                     nip + "' AND periode = DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m')");
}

} // namespace

class TestQualityTasks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("supervision_pages.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    // ------------------------------------------------------------------
    // Quality assessment
    // ------------------------------------------------------------------

    void qualityListOnEntry()
    {
        Quality q;
        q.page.openFor(kPelaksana, QStringLiteral("Pelaksana Empat"));
        QCOMPARE(q.ctx.activePage(), static_cast<QWidget*>(&q.page));
        QCOMPARE(q.page.header()->caption(), QStringLiteral("Kualitas Mutu a.n. Pelaksana Empat"));
        // The gradient runs the other way round on this page.
        QCOMPARE(q.page.header()->startColor(), QColor(0xD3, 0xD3, 0xD3));
        QCOMPARE(q.page.header()->endColor(), QColor(0x99, 0x32, 0xCC));
        QCOMPARE(q.page.Label29->text(), QStringLiteral("2"));
        StringGrid* g = q.page.sg_kualMutu;
        QCOMPARE(g->colCount(), 7);
        QCOMPARE(g->rowCount(), 3);
        QCOMPARE(g->fixedRows(), 1);
        QCOMPARE(g->cell(0, 1), QStringLiteral("Periode"));
        QCOMPARE(g->cell(1, 0), QStringLiteral("1"));
        QCOMPARE(g->cell(1, 1), rootValue("SELECT DATE_FORMAT(NOW() - INTERVAL 2 MONTH, '%Y%m')")); // newest first
        QCOMPARE(g->cell(1, 2), kPelaksana);
        QCOMPARE(g->cell(1, 3), QStringLiteral("Pelaksana Empat"));
        QCOMPARE(g->cell(1, 4), QStringLiteral("88"));
        QCOMPARE(g->cell(1, 5), QStringLiteral("91"));
        QCOMPARE(g->cell(1, 6), kKabid);
        QCOMPARE(q.page.lbKualMutuStatus->text(),
                 QStringLiteral("BELUM DILAKUKAN PENILAIAN KUALITAS MUTU UNTUK PERIODE INI!"));
        QCOMPARE(background(q.page.lbKualMutuStatus), kRed);
        QVERIFY(q.ctx.msgs.log.isEmpty());

        // Assessed this period: the panel says so in green.
        q.page.openFor(kPlt, QStringLiteral("Analis Lima"));
        QCOMPARE(q.page.Label29->text(), QStringLiteral("1"));
        QCOMPARE(q.page.lbKualMutuStatus->text(),
                 "Kualitas Mutu periode " + periodText() + " sudah dilakukan penilaian!");
        QCOMPARE(background(q.page.lbKualMutuStatus), kGreen);

        // Nothing assessed ever: the captions as an ordinary row, count 0.
        q.page.openFor(kGuru, QStringLiteral("Guru Enam"));
        QCOMPARE(q.page.Label29->text(), QStringLiteral("0"));
        QCOMPARE(q.page.sg_kualMutu->rowCount(), 1);
        QCOMPARE(q.page.sg_kualMutu->fixedRows(), 0);
        QCOMPARE(q.page.lbKualMutuStatus->text(),
                 QStringLiteral("BELUM DILAKUKAN PENILAIAN KUALITAS MUTU UNTUK PERIODE INI!"));
        QVERIFY(q.ctx.msgs.log.isEmpty());

        // Somebody else's subordinate: the server refuses the list; one
        // message, and the status query is not run.
        q.page.openFor(kPlt, QStringLiteral("Analis Lima"));
        q.page.openFor(kCandidate, QStringLiteral("Calon Delapan"));
        QCOMPARE(q.ctx.msgs.texts(), QStringList{kGagalMenampilkan + "\rBukan atasan PNS ini."});
        QCOMPARE(q.page.Label29->text(), QStringLiteral("1"));
        QCOMPARE(background(q.page.lbKualMutuStatus), kGreen);
    }

    void gradeScale_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QColor>("colour");
        const QColor yellow(0xFF, 0xFF, 0x00), orange(0xFF, 0xA5, 0x00), lightGreen(0x90, 0xEE, 0x90),
            lightBlue(0xAD, 0xD8, 0xE6);
        QTest::newRow("1") << 1 << "KURANG" << kRed;
        QTest::newRow("60") << 60 << "KURANG" << kRed;
        QTest::newRow("61") << 61 << "CUKUP" << yellow;
        QTest::newRow("70") << 70 << "CUKUP" << yellow;
        QTest::newRow("71") << 71 << "CUKUP BAIK" << orange;
        QTest::newRow("80") << 80 << "CUKUP BAIK" << orange;
        QTest::newRow("81") << 81 << "BAIK" << lightGreen;
        QTest::newRow("90") << 90 << "BAIK" << lightGreen;
        QTest::newRow("91") << 91 << "SANGAT BAIK" << lightBlue;
        QTest::newRow("100") << 100 << "SANGAT BAIK" << lightBlue;
    }

    void gradeScale()
    {
        QFETCH(int, value);
        QFETCH(QString, grade);
        QFETCH(QColor, colour);
        FakeContext ctx(kSchema);
        Tfu_kualmutu dlg(ctx, kPelaksana, QStringLiteral("Pelaksana Empat"));
        QCOMPARE(dlg.pStatusKetepatan->text(), QStringLiteral("Kurang"));
        QCOMPARE(background(dlg.pStatusKetepatan), kRed);
        QCOMPARE(background(dlg.pStatusKecepatan), kRed);

        dlg.tbKetepatan->setValue(value);
        QCOMPARE(dlg.lbKetepatan->text(), QString::number(value));
        QCOMPARE(dlg.pStatusKetepatan->text(), grade);
        QCOMPARE(background(dlg.pStatusKetepatan), colour);
        QCOMPARE(dlg.pStatusKecepatan->text(), QStringLiteral("Kurang")); // the other bar is its own

        QTest::keyClick(dlg.tbKecepatan, Qt::Key_End); // the keyboard moves a bar too
        QCOMPARE(dlg.lbKecepatan->text(), QStringLiteral("100"));
        dlg.tbKecepatan->setValue(value);
        QCOMPARE(dlg.lbKecepatan->text(), QString::number(value));
        QCOMPARE(dlg.pStatusKecepatan->text(), grade);
        QCOMPARE(background(dlg.pStatusKecepatan), colour);
    }

    void gradingRefusedBeforeTheDialog()
    {
        Quality q;
        q.page.openFor(kPelaksana, QStringLiteral("Pelaksana Empat"));

        // A two-level subordinate: only the hint.
        q.ctx.sessionValue.st_aktivitas_bawahan = QStringLiteral("B2");
        q.page.SpeedButton4Click();
        QCOMPARE(q.ctx.msgs.log.size(), 1);
        QCOMPARE(q.ctx.msgs.lastKind(), Messages::Kind::Information);
        QCOMPARE(q.ctx.msgs.last(), QStringLiteral("Kualitas mutu hanya bisa diberikan kepada bawahan langsung "
                                                   "(Bawahan definitif maupun bawahan Plt) !"));
        QVERIFY(q.ctx.dialogRunner.opened.isEmpty());
        QVERIFY(q.ctx.sessionValue.periodex.isEmpty()); // no later step ran

        // Assessments closed.
        q.ctx.msgs.clear();
        q.ctx.sessionValue.st_aktivitas_bawahan = QStringLiteral("B1");
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET tanggal_akhir = NOW() - INTERVAL 1 DAY "
                                          "WHERE nama = 'kualitas_mutu'"));
        q.page.SpeedButton4Click();
        QCOMPARE(q.ctx.msgs.texts(), QStringList{"Saat ini bukan periode penilaian kualitas mutu bawahan!"});
        QCOMPARE(q.ctx.msgs.lastKind(), Messages::Kind::Warning);
        QVERIFY(q.ctx.dialogRunner.opened.isEmpty());
        QVERIFY(q.ctx.sessionValue.periodex.isEmpty());

        // A page never opened for anybody.
        q.ctx.msgs.clear();
        BwKualMutuPage fresh(q.ctx);
        fresh.SpeedButton4Click();
        QCOMPARE(q.ctx.msgs.texts(), QStringList{kNotSelected});
    }

    void newAssessmentAndProgressRule_data()
    {
        QTest::addColumn<QString>("progress"); // empty: no figure for the month
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("ketepatan");
        QTest::addColumn<int>("kecepatan");
        QTest::addColumn<bool>("saved");
        QTest::newRow("30 with average 82.5") << "30" << "30.00" << 85 << 80 << false;
        QTest::newRow("30 with average 80") << "30" << "30.00" << 80 << 80 << true;
        QTest::newRow("30.5 with average 82.5") << "30.5" << "30.50" << 85 << 80 << true;
        QTest::newRow("25 with average 80") << "25" << "25.00" << 80 << 80 << true;
        QTest::newRow("no figure with average 82.5") << "" << "0" << 85 << 80 << false;
        QTest::newRow("no figure with average 80.5") << "" << "0" << 81 << 80 << false;
        QTest::newRow("no figure with average 80") << "" << "0" << 100 << 60 << true;
    }

    void newAssessmentAndProgressRule()
    {
        QFETCH(QString, progress);
        QFETCH(QString, shown);
        QFETCH(int, ketepatan);
        QFETCH(int, kecepatan);
        QFETCH(bool, saved);
        QCOMPARE(setProgress(kPelaksana, progress), QString());

        Quality q;
        q.ctx.sessionValue.st_aktivitas_bawahan = QStringLiteral("B1");
        q.page.openFor(kPelaksana, QStringLiteral("Pelaksana Empat"));
        bool drove = false;
        q.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfu_kualmutu&>(d);
            dlg.show();
            QCOMPARE(dlg.fu_kualmutu_judul->caption(),
                     "Input nilai kualitas mutu periode " + periodText() + " a.n. Pelaksana Empat.");
            QCOMPARE(dlg.status_nilai, QStringLiteral("Insert"));
            QCOMPARE(dlg.lbProgress->text(), shown);
            QCOMPARE(dlg.tbKetepatan->value(), 0);
            QCOMPARE(dlg.tbKecepatan->value(), 0);
            QCOMPARE(dlg.pStatusKetepatan->text(), QStringLiteral("Kurang"));
            QCOMPARE(background(dlg.pStatusKecepatan), kRed);
            dlg.tbKetepatan->setValue(ketepatan);
            dlg.tbKecepatan->setValue(kecepatan);
            QCOMPARE(dlg.BitBtn10Click(), saved);
            if (saved) {
                QCOMPARE(q.ctx.msgs.texts(), QStringList{"Sukses melakukan penilaian!"});
                QCOMPARE(q.ctx.msgs.lastKind(), Messages::Kind::Information);
                QVERIFY(!dlg.isVisible());
                QCOMPARE(dlg.result(), int(QDialog::Accepted));
            } else {
                QCOMPARE(q.ctx.msgs.texts(), QStringList{"Nilai tidak sesuai progress yang dicapai bawahan!"});
                QCOMPARE(q.ctx.msgs.lastKind(), Messages::Kind::Warning);
                QVERIFY(dlg.isVisible()); // stays open with its values
                QCOMPARE(dlg.lbKetepatan->text(), QString::number(ketepatan));
                dlg.reject();
            }
            drove = true;
        });
        q.page.SpeedButton4Click();
        QVERIFY(drove);
        QCOMPARE(q.ctx.sessionValue.periodex, period());
        QCOMPARE(q.ctx.sessionValue.periodef, periodText());
        if (saved) {
            QCOMPARE(storedGrades(kPelaksana), QString::number(ketepatan) + "/" + QString::number(kecepatan) + "/" +
                                                   kKabid);
            // The page reloaded after the save.
            QCOMPARE(q.page.Label29->text(), QStringLiteral("3"));
            QCOMPARE(background(q.page.lbKualMutuStatus), kGreen);
        } else {
            QCOMPARE(storedGrades(kPelaksana), QStringLiteral("none"));
            QCOMPARE(q.page.Label29->text(), QStringLiteral("2"));
        }
    }

    // A grade left at 0 is asked about first: No keeps the dialog open and
    // stores nothing, Yes stores it.
    void zeroGradeIsAskedFirst()
    {
        QCOMPARE(setProgress(kPelaksana, "50"), QString());
        Quality q;
        q.ctx.sessionValue.st_aktivitas_bawahan = QStringLiteral("B1");
        q.page.openFor(kPelaksana, QStringLiteral("Pelaksana Empat"));
        const QString question =
            QStringLiteral("Nilai ketepatan atau kecepatan masih 0.\rSimpan nilai 0 untuk bawahan ini?");
        bool drove = false;
        q.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfu_kualmutu&>(d);
            dlg.show();
            // "Nilai" then "Simpan" without touching a slider
            q.ctx.msgs.answers = {false};
            QVERIFY(!dlg.BitBtn10Click());
            QCOMPARE(q.ctx.msgs.texts(), QStringList{question});
            QVERIFY(dlg.isVisible());
            QCOMPARE(storedGrades(kPelaksana), QStringLiteral("none"));
            dlg.tbKetepatan->setValue(70);
            q.ctx.msgs.answers = {true};
            QVERIFY(dlg.BitBtn10Click());
            QCOMPARE(q.ctx.msgs.texts(), (QStringList{question, question, "Sukses melakukan penilaian!"}));
            drove = true;
        });
        q.page.SpeedButton4Click();
        QVERIFY(drove);
        QCOMPARE(storedGrades(kPelaksana), "70/0/" + kKabid);
    }

    void saveFailuresKeepTheDialog()
    {
        Quality q;
        q.ctx.sessionValue.st_aktivitas_bawahan = QStringLiteral("B1");
        q.page.openFor(kPelaksana, QStringLiteral("Pelaksana Empat"));
        bool drove = false;
        q.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfu_kualmutu&>(d);
            dlg.show();
            dlg.tbKetepatan->setValue(85);
            dlg.tbKecepatan->setValue(80);

            // A progress text that is no number: nothing is saved.
            dlg.lbProgress->setText(QStringLiteral("n/a"));
            QVERIFY(!dlg.BitBtn10Click());
            QCOMPARE(q.ctx.msgs.last(), QStringLiteral("Progress bawahan tidak terbaca, nilai tidak dapat disimpan!"));

            // A client that thinks the progress high: the server still
            // applies its own figure (30) and refuses.
            dlg.lbProgress->setText(QStringLiteral("90"));
            QVERIFY(!dlg.BitBtn10Click());
            QCOMPARE(q.ctx.msgs.last(), QStringLiteral("Gagal menyimpan nilai!\rNilai tidak sesuai progress."));
            QCOMPARE(q.ctx.msgs.lastKind(), Messages::Kind::Warning);
            QVERIFY(dlg.isVisible());
            QCOMPARE(dlg.lbKetepatan->text(), QStringLiteral("85"));
            QCOMPARE(dlg.lbKecepatan->text(), QStringLiteral("80"));

            // The user lowers a grade and tries again.
            dlg.tbKetepatan->setValue(80);
            QVERIFY(dlg.BitBtn10Click());
            drove = true;
        });
        q.page.SpeedButton4Click();
        QVERIFY(drove);
        QCOMPARE(storedGrades(kPelaksana), "80/80/" + kKabid);
        QCOMPARE(q.ctx.msgs.texts().size(), 3);
    }

    void updatingTheExistingAssessment()
    {
        Quality q;
        q.ctx.sessionValue.st_aktivitas_bawahan = QStringLiteral("B1");
        q.page.openFor(kPlt, QStringLiteral("Analis Lima"));
        const QString question =
            "Penilaian kualitas mutu periode " + periodText() + " sudah diberikan.\rLakukan update nilai?";

        // No: nothing opens, nothing changes.
        q.ctx.msgs.answers = {false};
        q.page.SpeedButton4Click();
        QCOMPARE(q.ctx.msgs.texts(), QStringList{question});
        QVERIFY(q.ctx.dialogRunner.opened.isEmpty());

        q.ctx.msgs.clear();
        q.ctx.msgs.answers = {true};
        bool drove = false;
        q.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfu_kualmutu&>(d);
            dlg.show();
            QCOMPARE(dlg.fu_kualmutu_judul->caption(),
                     "Update nilai kualitas mutu periode " + periodText() + " a.n. Analis Lima.");
            QCOMPARE(dlg.status_nilai, QStringLiteral("Update"));
            QCOMPARE(dlg.idkualmutu, rootValue("SELECT id FROM kualitas_mutu WHERE nip = '" + kPlt + "'"));
            QCOMPARE(dlg.lbProgress->text(), QStringLiteral("75.25"));
            QCOMPARE(dlg.tbKetepatan->value(), 85);
            QCOMPARE(dlg.tbKecepatan->value(), 72);
            QCOMPARE(dlg.lbKetepatan->text(), QStringLiteral("85"));
            QCOMPARE(dlg.lbKecepatan->text(), QStringLiteral("72"));
            QCOMPARE(dlg.pStatusKetepatan->text(), QStringLiteral("BAIK"));
            QCOMPARE(background(dlg.pStatusKetepatan), QColor(0x90, 0xEE, 0x90));
            QCOMPARE(dlg.pStatusKecepatan->text(), QStringLiteral("CUKUP BAIK"));
            QCOMPARE(background(dlg.pStatusKecepatan), QColor(0xFF, 0xA5, 0x00));
            dlg.tbKecepatan->setValue(90);
            QVERIFY(dlg.BitBtn10Click());
            drove = true;
        });
        q.page.SpeedButton4Click();
        QVERIFY(drove);
        QCOMPARE(q.ctx.msgs.texts(), (QStringList{question, "Sukses melakukan update penilaian!"}));
        QCOMPARE(storedGrades(kPlt), "85/90/" + kKabid);
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kualitas_mutu WHERE nip = '" + kPlt + "'"), QStringLiteral("1"));
        QCOMPARE(q.page.sg_kualMutu->cell(1, 5), QStringLiteral("90"));
    }

    // ------------------------------------------------------------------
    // Additional tasks
    // ------------------------------------------------------------------

    void taskListOnEntry()
    {
        Tasks t;
        t.page.openFor(kPelaksana, QStringLiteral("Pelaksana Empat"));
        QCOMPARE(t.ctx.activePage(), static_cast<QWidget*>(&t.page));
        QCOMPARE(t.page.header()->caption(), QStringLiteral("Tugas Tambahan a.n. Pelaksana Empat"));
        QCOMPARE(t.page.header()->startColor(), QColor(0x99, 0x32, 0xCC));
        QCOMPARE(t.page.Label81->text(), QStringLiteral("Jumlah data : 2"));
        StringGrid* g = t.page.sg_BwTugasTambahan;
        QCOMPARE(g->colCount(), 7);
        QCOMPARE(g->colWidth(0), 0);
        QCOMPARE(g->cell(0, 0), QStringLiteral("No."));
        QCOMPARE(g->cell(0, 1), QStringLiteral("No."));
        QCOMPARE(g->cell(1, 1), QStringLiteral("1"));
        QCOMPARE(g->cell(1, 2), QStringLiteral("Pengelola Uji")); // the one in force first
        QCOMPARE(g->cell(1, 3), rootValue("SELECT CURDATE() - INTERVAL 5 DAY"));
        QCOMPARE(g->cell(1, 4), QString());
        QCOMPARE(g->cell(1, 5), QStringLiteral("Dinas Uji Coba"));
        QCOMPARE(g->cell(1, 6), QStringLiteral("Aktif"));
        QCOMPARE(g->cell(2, 6), QStringLiteral("Tidak Aktif"));
        QCOMPARE(g->cell(1, 0), rootValue("SELECT id FROM tugas_tambahan WHERE nip = '" + kPelaksana +
                                          "' AND kode_jabatan = 'JP02'"));
        QVERIFY(t.ctx.msgs.log.isEmpty());
    }

    void limitReachedOpensNoPicker()
    {
        Tasks t;
        t.page.openFor(kAnalis, QStringLiteral("Analis Tiga"));
        t.page.SpeedButton27Click();
        QCOMPARE(t.ctx.msgs.texts(), QStringList{"Gagal menambahkan tugas tambahan!\r\rCatatan:\r"
                                                 "Jumlah tugas tambahan saat ini 2\rJumlah diperbolehkan max 2"});
        QCOMPARE(t.ctx.msgs.lastKind(), Messages::Kind::Warning);
        QVERIFY(t.ctx.dialogRunner.opened.isEmpty());
    }

    void addingThroughThePicker()
    {
        Tasks t;
        t.page.openFor(kPelaksana, QStringLiteral("Pelaksana Empat"));
        const QString ask = QStringLiteral(" sebagai tugas tamabahan PNS a.n. Pelaksana Empat");
        bool drove = false;
        t.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& p = static_cast<Tft_tugas&>(d);
            QCOMPARE(p.windowTitle(), QString());
            QCOMPARE(p.ft_tugasJudul->caption(), QStringLiteral("Pilih Jabatan Pelaksana sebagai Tugas Tambahan"));
            p.show();
            // Opens filled with every executor position.
            QCOMPARE(p.lbJumlah->text(), QStringLiteral("Jumlah data ditemukan : 3"));
            QCOMPARE(p.sg_jabatan->cell(1, 2), QStringLiteral("Pengadministrasi Uji"));
            QCOMPARE(p.sg_jabatan->cell(3, 2), QStringLiteral("Pengolah Data Uji"));
            QCOMPARE(p.sg_jabatan->cell(3, 3), QStringLiteral("0"));
            QCOMPARE(p.sg_jabatan->colWidth(0), 0);
            QCOMPARE(p.sg_jabatan->colWidth(1), 40);

            // Enter in the search field searches.
            p.edCari->setText(QStringLiteral("Pengelola"));
            QTest::keyClick(p.edCari, Qt::Key_Return);
            QCOMPARE(p.lbJumlah->text(), QStringLiteral("Jumlah data ditemukan : 1"));
            QVERIFY(p.isVisible());

            // No to the question: the picker stays, nothing added.
            t.ctx.msgs.answers = {false};
            QVERIFY(!p.btPilihClick());
            QCOMPARE(t.ctx.msgs.last(), "Tambahkan jabatan Pengelola Uji" + ask);
            QVERIFY(p.isVisible());

            // The subordinate holds this one already: the server refuses,
            // and says why.
            t.ctx.msgs.answers = {true};
            QVERIFY(!p.btPilihClick());
            QCOMPARE(t.ctx.msgs.last(), QString::fromUtf8(stdmsg::GagalMenyimpan) +
                                            QStringLiteral("\rTugas tambahan ini sudah diberikan."));
            QVERIFY(p.isVisible());

            // Nor the subordinate's own position.
            p.edCari->setText(QStringLiteral("Pengadmin"));
            p.btCariClick();
            t.ctx.msgs.answers = {true};
            QVERIFY(!p.btPilihClick());
            QCOMPARE(t.ctx.msgs.last(), QString::fromUtf8(stdmsg::GagalMenyimpan) +
                                            QStringLiteral("\rJabatan ini adalah jabatan PNS itu sendiri."));
            QVERIFY(p.isVisible());

            p.edCari->setText(QStringLiteral("Pengolah"));
            p.btCariClick();
            t.ctx.msgs.answers = {true};
            QVERIFY(p.btPilihClick());
            QCOMPARE(t.ctx.msgs.last(), QStringLiteral("Data berhasil ditambahkan!"));
            QVERIFY(!p.isVisible());
            QCOMPARE(p.result(), int(QDialog::Accepted));
            drove = true;
        });
        t.page.SpeedButton27Click();
        QVERIFY(drove);
        QCOMPARE(t.ctx.msgs.texts(),
                 (QStringList{"Tambahkan jabatan Pengelola Uji" + ask, "Tambahkan jabatan Pengelola Uji" + ask,
                              QString::fromUtf8(stdmsg::GagalMenyimpan) + "\rTugas tambahan ini sudah diberikan.",
                              "Tambahkan jabatan Pengadministrasi Uji" + ask,
                              QString::fromUtf8(stdmsg::GagalMenyimpan) + "\rJabatan ini adalah jabatan PNS itu sendiri.",
                              "Tambahkan jabatan Pengolah Data Uji" + ask, "Data berhasil ditambahkan!"}));
        QCOMPARE(rootValue("SELECT CONCAT(kode_skpd, '/', nip_atasan, '/', status, '/', tanggal_mulai = CURDATE()) "
                           "FROM tugas_tambahan WHERE nip = '" +
                           kPelaksana + "' AND kode_jabatan = 'JP03'"),
                 "U1/" + kKabid + "/aktif/1");
        QCOMPARE(t.page.Label81->text(), QStringLiteral("Jumlah data : 3"));
        QVERIFY(t.rowOf(QStringLiteral("Pengolah Data Uji")) > 0);

        // Now at the limit of two.
        t.ctx.msgs.clear();
        t.page.SpeedButton27Click();
        QCOMPARE(t.ctx.msgs.texts(), QStringList{"Gagal menambahkan tugas tambahan!\r\rCatatan:\r"
                                                 "Jumlah tugas tambahan saat ini 2\rJumlah diperbolehkan max 2"});
        QCOMPARE(t.ctx.dialogRunner.opened.size(), 1);
    }

    void closingThePickerReloadsTheList()
    {
        Tasks t;
        t.page.openFor(kGuru, QStringLiteral("Guru Enam"));
        QCOMPARE(t.page.Label81->text(), QStringLiteral("Jumlah data : 0"));
        t.ctx.dialogRunner.expect([&](QDialog& d) {
            // Meanwhile another superior gives a task.
            QVERIFY(testdb::rootExec(kSchema, "INSERT INTO tugas_tambahan (nip, kode_jabatan, kode_skpd, nip_atasan, "
                                              "tanggal_mulai, status) VALUES ('" +
                                                  kGuru + "', 'JP03', 'U1', '" + kKabid + "', CURDATE(), 'aktif')"));
            d.reject();
        });
        t.page.SpeedButton27Click();
        QCOMPARE(t.ctx.dialogRunner.opened, QStringList{"Tft_tugas"});
        QCOMPARE(t.page.Label81->text(), QStringLiteral("Jumlah data : 1"));
        QVERIFY(t.ctx.msgs.log.isEmpty());
    }

    void deactivating()
    {
        Tasks t;
        t.page.openFor(kPelaksana, QStringLiteral("Pelaksana Empat"));
        const int row = t.rowOf(QStringLiteral("Pengelola Uji"));
        QVERIFY(row > 0);
        t.page.sg_BwTugasTambahan->setCurrentRow(row);
        const QString question = "Non-Aktifkan jabatan Pengelola Uji sebagai tugas tamabahan PNS a.n. Pelaksana Empat";
        const QString state = "SELECT CONCAT(status, '/', COALESCE(tanggal_selesai = CURDATE(), 'open')) FROM "
                              "tugas_tambahan WHERE nip = '" +
                              kPelaksana + "' AND kode_jabatan = 'JP02'";

        t.ctx.msgs.answers = {false};
        t.page.SpeedButton28Click();
        QCOMPARE(t.ctx.msgs.texts(), QStringList{question});
        QCOMPARE(rootValue(state), QStringLiteral("aktif/open"));

        t.ctx.msgs.clear();
        t.ctx.msgs.answers = {true};
        t.page.SpeedButton28Click();
        QCOMPARE(t.ctx.msgs.texts(),
                 (QStringList{question, "Tugas tambahan berhasil di-nonaktifkan!\r\rCatatan:\r"
                                        "Data akan berubah max 60 menit sejak perubahan tugas tambahan."}));
        QCOMPARE(rootValue(state), QStringLiteral("nonaktif/1"));
        QCOMPARE(t.page.sg_BwTugasTambahan->cell(t.rowOf(QStringLiteral("Pengelola Uji")), 6),
                 QStringLiteral("Tidak Aktif"));

        // Ending it again changes nothing and says so.
        t.ctx.msgs.clear();
        t.ctx.msgs.answers = {true};
        t.page.sg_BwTugasTambahan->setCurrentRow(t.rowOf(QStringLiteral("Pengelola Uji")));
        t.page.SpeedButton28Click();
        QCOMPARE(t.ctx.msgs.last(), QStringLiteral("Gagal melakukan update data tugas!\rTugas tambahan sudah tidak aktif."));
        QCOMPARE(t.ctx.msgs.lastKind(), Messages::Kind::Warning);
    }

    void emptyListsRefuseTheirActions()
    {
        Tasks t;
        t.page.openFor(kGuru, QStringLiteral("Guru Enam"));
        QCOMPARE(t.page.sg_BwTugasTambahan->rowCount(), 1);
        t.page.SpeedButton28Click(); // a question here would fail the test
        QCOMPARE(t.ctx.msgs.texts(), QStringList{kNotSelected});

        t.ctx.msgs.clear();
        bool drove = false;
        t.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& p = static_cast<Tft_tugas&>(d);
            p.show();
            // A quote in the search is only text.
            p.edCari->setText(QStringLiteral("Uji' OR '1'='1"));
            p.btCariClick();
            QCOMPARE(p.lbJumlah->text(), QStringLiteral("Jumlah data ditemukan : 0"));
            QVERIFY(!p.btPilihClick());
            QCOMPARE(t.ctx.msgs.texts(), QStringList{kNotSelected});
            QVERIFY(p.isVisible());
            d.reject();
            drove = true;
        });
        t.page.SpeedButton27Click();
        QVERIFY(drove);
        QCOMPARE(rootValue("SELECT COUNT(*) FROM tugas_tambahan WHERE nip = '" + kGuru + "'"), QStringLiteral("0"));
    }

    // ------------------------------------------------------------------
    // In the main window
    // ------------------------------------------------------------------

    void backButtonsReturnToTheSubordinates()
    {
        MainFixture m(kSchema);
        m.w.showPage(m.w.xBwKualMutu);
        m.w.xBwKualMutu->SpeedButton6->click();
        QCOMPARE(m.w.activePage(), static_cast<QWidget*>(m.w.xBawahan));
        m.w.showPage(m.w.xBwTugasTambahan);
        m.w.xBwTugasTambahan->SpeedButton1->click();
        QCOMPARE(m.w.activePage(), static_cast<QWidget*>(m.w.xBawahan));
    }
};

QTEST_MAIN(TestQualityTasks)
#include "test_quality_tasks.moc"
