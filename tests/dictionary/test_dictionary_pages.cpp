// The position ladder and the dictionary verifiers as an administrator uses
// them, on a page context without a main window, against the server.
#include "shell/pageheader.h"
#include "dictionary/jfatasbawahpage.h"
#include "dictionary/ue_verifikator.h"
#include "dictionary/ut_verifkamus.h"
#include "dictionary/uverifikator_info.h"
#include "dictionary/verifkamuspage.h"
#include "fakecontext.h"
#include "orgfixture.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_dictionary_pages");
const QString kNotSelected = QString::fromUtf8(stdmsg::TidakAdaDipilih);

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QStringList column(const StringGrid* g, int col)
{
    QStringList out;
    for (int r = g->fixedRows(); r < g->rowCount(); ++r)
        out << g->cell(r, col);
    return out;
}

int rowOf(const StringGrid* g, int col, const QString& value)
{
    for (int r = 1; r < g->rowCount(); ++r)
        if (g->cell(r, col) == value)
            return r;
    return -1;
}

// Clicks a grid row with the mouse, as a user picks it.
void clickRow(StringGrid* g, int row)
{
    const QRect cell = g->visualRect(g->model()->index(row - g->fixedRows(), 2));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
}

struct Admin {
    Admin() : ctx(kSchema)
    {
        QVERIFY(ctx.actAs(kKepala, QStringLiteral("Kepala Satu"), QStringLiteral("Admin System")));
    }
    FakeContext ctx;
};

} // namespace

class TestDictionaryPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("dictionary.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    void ladderLists()
    {
        Admin a;
        JFAtasBawahPage p(a.ctx);
        p.dxSettingItems4Click();
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&p));
        QCOMPARE(p.header()->caption(), QStringLiteral("Halaman Admin - Setting Jenjang JF Atas Bawah"));
        QCOMPARE(p.xJFAtasBawahJumlah->text(), QStringLiteral("Jumlah data : 7"));
        StringGrid* m = p.sgJFAtasBawahM;
        QCOMPARE(m->colCount(), 5);
        QList<int> widths;
        QStringList captions;
        for (int c = 0; c < 5; ++c) {
            widths << m->colWidth(c);
            captions << m->cell(0, c);
        }
        QCOMPARE(widths, (QList<int>{30, 60, 330, 100, 50}));
        QCOMPARE(captions, (QStringList{"No.", "Kode", "Nama Jabatan", "Jenjang", "Jumlah"}));
        QCOMPARE(column(m, 1), (QStringList{"JF01", "JF02", "JF21", "JF22", "JF13", "JF12", "JF11"}));
        QCOMPARE(column(m, 0), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
        QCOMPARE(m->cell(6, 3), QStringLiteral("Ahli Muda"));
        QCOMPARE(m->cell(6, 4), QStringLiteral("2"));
        // The first position has no ladder: the companion grid holds only
        // its captions, the last one "Jenjang".
        StringGrid* d = p.sgJFAtasBawahD;
        QCOMPARE(d->rowCount(), 1);
        QCOMPARE(d->cell(0, 4), QStringLiteral("Jenjang"));
        QCOMPARE(d->colWidth(4), 110);
        QCOMPARE(d->colWidth(0), 0);
        QVERIFY(a.ctx.msgs.log.isEmpty());
        // The ladder is kept on the server.
        QVERIFY(!p.SpeedButton11->isEnabled());
        QVERIFY(!p.SpeedButton15->isEnabled());
        QVERIFY(p.pJFAtasBawahMAction->isHidden());
    }

    void clickShowsCompanionsAndCaptionChanges()
    {
        Admin a;
        JFAtasBawahPage p(a.ctx);
        p.resize(1100, 700);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        p.dxSettingItems4Click();
        StringGrid* d = p.sgJFAtasBawahD;
        clickRow(p.sgJFAtasBawahM, 6); // JF12
        QCOMPARE(d->cell(0, 4), QStringLiteral("Nama Jenjang Atas/Bawah"));
        QCOMPARE(d->colWidth(4), 100);
        QCOMPARE(d->cell(0, 3), QStringLiteral("Nama Jabatan Atas/Bawah"));
        QCOMPARE(column(d, 2), (QStringList{"JF13", "JF11"}));
        QCOMPARE(column(d, 4), (QStringList{"Ahli Madya", "Ahli Pertama"}));
        QCOMPARE(column(d, 0), (QStringList{"3", "2"}));

        // "Tampilkan Data" brings the first caption back.
        p.xJFAtasBawahTampil->click();
        QCOMPARE(d->cell(0, 4), QStringLiteral("Jenjang"));
        QCOMPARE(d->colWidth(4), 110);
        QVERIFY(a.ctx.msgs.log.isEmpty());
    }

    void enterInTheFilterRefreshesBothLists()
    {
        Admin a;
        JFAtasBawahPage p(a.ctx);
        p.dxSettingItems4Click();
        p.sgJFAtasBawahM->setCurrentRow(6);
        p.sgJFAtasBawahMClick(6);
        QCOMPARE(p.sgJFAtasBawahD->cell(0, 4), QStringLiteral("Nama Jenjang Atas/Bawah"));

        QTest::keyClicks(p.xJFAtasBawahNama, QStringLiteral("penguji mutu"));
        QTest::keyClick(p.xJFAtasBawahNama, Qt::Key_Return);
        QCOMPARE(p.xJFAtasBawahJumlah->text(), QStringLiteral("Jumlah data : 3"));
        QCOMPARE(column(p.sgJFAtasBawahM, 1), (QStringList{"JF13", "JF12", "JF11"}));
        // The companions follow the current row of the new list.
        const QString current = p.sgJFAtasBawahM->cell(p.sgJFAtasBawahM->currentRow(), 1);
        QCOMPARE(current, QStringLiteral("JF13"));
        QCOMPARE(column(p.sgJFAtasBawahD, 2), QStringList{"JF12"});
        QCOMPARE(p.sgJFAtasBawahD->cell(0, 4), QStringLiteral("Jenjang"));
        QCOMPARE(p.sgJFAtasBawahD->colWidth(4), 110);
        QCOMPARE(p.xJFAtasBawahNama->text(), QStringLiteral("penguji mutu"));

        // Nothing matches: both lists empty, no message.
        p.xJFAtasBawahNama->setText(QStringLiteral("50%"));
        QTest::keyClick(p.xJFAtasBawahNama, Qt::Key_Enter);
        QCOMPARE(p.xJFAtasBawahJumlah->text(), QStringLiteral("Jumlah data : 0"));
        QCOMPARE(p.sgJFAtasBawahM->rowCount(), 1);
        QCOMPARE(p.sgJFAtasBawahD->rowCount(), 1);
        QVERIFY(a.ctx.msgs.log.isEmpty());
    }

    void ladderFailuresKeepTheLists_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("message");
        QTest::newRow("logged out: refused") << "" << "Gagal menampilkan informasi!\rBelum login.";
        QTest::newRow("session gone: no connection") << "bukan-token"
                                                     << "Gagal terhubung ke database kinerja!\rSesi tidak berlaku.";
    }

    void ladderFailuresKeepTheLists()
    {
        QFETCH(QString, token);
        QFETCH(QString, message);
        Admin a;
        JFAtasBawahPage p(a.ctx);
        p.dxSettingItems4Click();
        p.sgJFAtasBawahMClick(6);
        a.ctx.sessionValue.token = token;
        p.xJFAtasBawahNama->setText(QStringLiteral("Guru"));
        p.xJFAtasBawahTampilClick();
        // One message: the companions are not asked for after the list failed.
        QCOMPARE(a.ctx.msgs.texts(), QStringList{message});
        QCOMPARE(a.ctx.msgs.lastKind(), Messages::Kind::Warning);
        QCOMPARE(p.xJFAtasBawahJumlah->text(), QStringLiteral("Jumlah data : 7"));
        QCOMPARE(p.sgJFAtasBawahM->rowCount(), 8);
        QCOMPARE(column(p.sgJFAtasBawahD, 2), (QStringList{"JF13", "JF11"}));
        QCOMPARE(p.sgJFAtasBawahD->cell(0, 4), QStringLiteral("Nama Jenjang Atas/Bawah"));
    }

    void verifiersFollowTheSelection()
    {
        Admin a;
        VerifKamusPage p(a.ctx);
        p.dxSettingItems5Click();
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&p));
        QCOMPARE(p.header()->caption(), QStringLiteral("Halaman Admin - Setting Verifikator Kamus Aktivitas"));
        QCOMPARE(p.xVerifKamusJumlah->text(), QStringLiteral("Jumlah data : 3"));
        QCOMPARE(column(p.StringGrid4, 2), (QStringList{"Analis Lima", "Analis Tiga", "Guru Enam"}));
        QCOMPARE(column(p.StringGrid4, 4), (QStringList{"1", "3", "1"}));
        QCOMPARE(column(p.StringGrid5, 3), QStringList{"Penguji Mutu Ahli Madya"});
        QVERIFY(!p.SpeedButton20->isHidden());
        QVERIFY(!p.SpeedButton18->isHidden()); // a new verifier, by NIP
        QVERIFY(p.SpeedButton19->isHidden());

        p.StringGrid4->setFocus();
        QTest::keyClick(p.StringGrid4, Qt::Key_Down);
        QCOMPARE(p.verifierNip(), kAnalis);
        QCOMPARE(column(p.StringGrid5, 3),
                 (QStringList{"Pengawas_Benih Terampil", "Penguji Mutu Ahli Muda", "Penguji Mutu Ahli Pertama"}));
        QCOMPARE(column(p.StringGrid5, 2), (QStringList{"JF22", "JF12", "JF11"}));

        // The keyword is a literal fragment: "%" finds the one position
        // holding it; Enter lists.
        QTest::keyClicks(p.xVerifKamusKeyword, QStringLiteral("%"));
        QTest::keyClick(p.xVerifKamusKeyword, Qt::Key_Return);
        QCOMPARE(p.xVerifKamusJumlah->text(), QStringLiteral("Jumlah data : 1"));
        QCOMPARE(p.verifierNip(), kGuru);
        QCOMPARE(column(p.StringGrid5, 3), QStringList{"Pengawas 100% Lapangan"});

        p.xVerifKamusKeyword->setText(QStringLiteral("Kepala"));
        p.xVerifKamusTampilData->click();
        QCOMPARE(p.StringGrid4->rowCount(), 1);
        QCOMPARE(p.StringGrid5->rowCount(), 1);
        // Nothing to act on.
        p.SpeedButton20->click();
        p.SpeedButton22->click();
        p.SpeedButton34->click();
        p.SpeedButton35->click();
        QCOMPARE(a.ctx.msgs.texts(), (QStringList{kNotSelected, kNotSelected, kNotSelected, kNotSelected}));
        QVERIFY(a.ctx.dialogRunner.opened.isEmpty());
    }

    void infoOfVerifierAndPosition()
    {
        Admin a;
        VerifKamusPage p(a.ctx);
        p.dxSettingItems5Click();
        p.StringGrid4->setCurrentRow(rowOf(p.StringGrid4, 1, kGuru));
        bool drove = false;
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfverifikator_info&>(d);
            QCOMPARE(dlg.fverifikator_infoJudul->caption(), QStringLiteral("Info Verifikator Kamus"));
            QCOMPARE(dlg.edNip->text(), kGuru);
            QCOMPARE(dlg.edNama->text(), QStringLiteral("Guru Enam"));
            QCOMPARE(dlg.edGolongan->text(), QStringLiteral("IV/a - Pembina"));
            QCOMPARE(dlg.edUnit->text(), QStringLiteral("SD Negeri Uji"));
            QCOMPARE(dlg.edLevel->text(), QStringLiteral("Basic User"));
            QCOMPARE(dlg.edJumlah->text(), QStringLiteral("1"));
            QCOMPARE(dlg.mmJabatan->toPlainText(), QStringLiteral("Pengawas 100% Lapangan"));
            QVERIFY(dlg.edNama->isReadOnly());
            dlg.btTutup->click();
            drove = true;
        });
        p.SpeedButton20->click();
        QVERIFY(drove);
        QCOMPARE(a.ctx.dialogRunner.opened, QStringList{"Tfverifikator_info"});

        p.InfoAktivitas1->trigger();
        QCOMPARE(a.ctx.msgs.lastKind(), Messages::Kind::Information);
        QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Jabatan : Pengawas 100% Lapangan\rKode : JF21\rJenjang : Terampil\r"
                                                   "Rincian tugas aktif : 0\rVerifikator : Guru Enam"));
    }

    void assignAPosition()
    {
        Admin a;
        VerifKamusPage p(a.ctx);
        p.dxSettingItems5Click();
        p.StringGrid4->setCurrentRow(rowOf(p.StringGrid4, 1, kAnalis));
        const QString logs = root("SELECT COUNT(*) FROM kinerja_log_proses");
        bool drove = false;
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tft_verifkamus&>(d);
            dlg.show(); // lists what the verifier does not verify yet
            QCOMPARE(column(dlg.sg_jabatan, 1), (QStringList{"JF01", "JF02", "JF21", "JF13"}));
            QCOMPARE(dlg.lbJumlah->text(), QStringLiteral("Jumlah data : 4"));
            dlg.edCari->setText(QStringLiteral("madya"));
            dlg.btCari->click();
            QCOMPARE(column(dlg.sg_jabatan, 2), QStringList{"Penguji Mutu Ahli Madya"});

            // The question names the position and the verifier; No keeps all.
            a.ctx.msgs.answers = {false};
            QVERIFY(!dlg.btPilihClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Tambahkan jabatan Penguji Mutu Ahli Madya ke daftar jabatan "
                                                       "yang diverifikasi Analis Tiga?"));
            QVERIFY(dlg.isVisible());
            QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses"), logs);

            a.ctx.msgs.answers = {true};
            QVERIFY(dlg.btPilihClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Data berhasil ditambahkan!"));
            QVERIFY(!dlg.isVisible());
            drove = true;
        });
        p.SpeedButton22->click();
        QVERIFY(drove);
        // Both lists reloaded, the verifier still selected.
        QCOMPARE(p.verifierNip(), kAnalis);
        QCOMPARE(p.StringGrid4->cell(p.StringGrid4->currentRow(), 4), QStringLiteral("4"));
        QVERIFY(column(p.StringGrid5, 2).contains(QStringLiteral("JF13")));
        QCOMPARE(testdb::rootQuery(kSchema, "SELECT aksi, target, keterangan FROM kinerja_log_proses "
                                            "ORDER BY id DESC LIMIT 1"),
                 (QList<QStringList>{
                     {"Verifikator Kamus - Tambah", kAnalis, "Verifikator kamus: Penguji Mutu Ahli Madya (JF13)"}}));

        // From the popup menu, the picker opens the same way; closing it
        // changes nothing.
        a.ctx.dialogRunner.expect([](QDialog& d) { d.reject(); });
        p.ambah1->trigger();
        QCOMPARE(a.ctx.dialogRunner.opened, (QStringList{"Tft_verifkamus", "Tft_verifkamus"}));
        QCOMPARE(p.StringGrid4->cell(p.StringGrid4->currentRow(), 4), QStringLiteral("4"));
    }

    // "Tambah" beside the verifiers takes a NIP and gives the first
    // position: the new verifier joins the list, selected.
    void addANewVerifier()
    {
        Admin a;
        VerifKamusPage p(a.ctx);
        p.dxSettingItems5Click();
        QVERIFY(!p.SpeedButton18->isHidden());
        QVERIFY(rowOf(p.StringGrid4, 1, kPelaksana) < 0);
        bool entered = false;
        bool picked = false;
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& e = static_cast<Tfe_verifikator&>(d);
            e.show();
            e.edNIP->setText(QStringLiteral("1991"));
            QVERIFY(!e.btLanjutClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("angka NIP kurang dari 18 digit, silahkan periksa kembali!"));
            e.edNIP->setText(QStringLiteral("199999999999999999"));
            QVERIFY(!e.btLanjutClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Tidak ada PNS aktif dengan NIP 199999999999999999!"));
            QVERIFY(e.isVisible());
            e.edNIP->setText(kPelaksana);
            QVERIFY(e.btLanjutClick());
            entered = true;
        });
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tft_verifkamus&>(d);
            dlg.show();
            dlg.sg_jabatan->setCurrentRow(rowOf(dlg.sg_jabatan, 1, QStringLiteral("JF13")));
            a.ctx.msgs.answers = {true};
            QVERIFY(dlg.btPilihClick());
            QCOMPARE(a.ctx.msgs.log.value(a.ctx.msgs.log.size() - 2).text,
                     QStringLiteral("Tambahkan jabatan Penguji Mutu Ahli Madya ke daftar jabatan yang diverifikasi "
                                    "Pelaksana Empat?"));
            picked = true;
        });
        p.SpeedButton18->click();
        QVERIFY(entered);
        QVERIFY(picked);
        QCOMPARE(p.verifierNip(), kPelaksana);
        QCOMPARE(column(p.StringGrid5, 2), QStringList{"JF13"});
        QCOMPARE(root("SELECT CONCAT(aksi, '/', target) FROM kinerja_log_proses ORDER BY id DESC LIMIT 1"),
                 "Verifikator Kamus - Tambah/" + kPelaksana);

        // Closing the NIP entry opens no picker and changes nothing.
        a.ctx.dialogRunner.expect([](QDialog& d) { d.reject(); });
        p.SpeedButton18->click();
        QCOMPARE(a.ctx.dialogRunner.opened, (QStringList{"Tfe_verifikator", "Tft_verifkamus", "Tfe_verifikator"}));
    }

    void removePositions()
    {
        Admin a;
        VerifKamusPage p(a.ctx);
        p.dxSettingItems5Click();
        p.StringGrid4->setCurrentRow(rowOf(p.StringGrid4, 1, kAnalis));
        p.StringGrid5->setCurrentRow(rowOf(p.StringGrid5, 2, QStringLiteral("JF12")));
        a.ctx.msgs.answers = {true};
        p.SpeedButton34->click();
        QCOMPARE(a.ctx.msgs.texts(), (QStringList{"Hapus jabatan Penguji Mutu Ahli Muda dari daftar jabatan yang "
                                                  "diverifikasi Analis Tiga?",
                                                  "Data berhasil dihapus!"}));
        QCOMPARE(column(p.StringGrid5, 2), (QStringList{"JF22", "JF11"}));
        QCOMPARE(p.verifierNip(), kAnalis);
        QCOMPARE(root("SELECT CONCAT(aksi, '/', target) FROM kinerja_log_proses ORDER BY id DESC LIMIT 1"),
                 "Verifikator Kamus - Hapus/" + kAnalis);

        // The last position of a verifier: the question says so, and the
        // verifier leaves the list.
        a.ctx.msgs.clear();
        p.StringGrid4->setCurrentRow(rowOf(p.StringGrid4, 1, kPlt));
        a.ctx.msgs.answers = {true};
        p.Hapus1->trigger();
        QCOMPARE(a.ctx.msgs.log.first().text,
                 QStringLiteral("Hapus jabatan Penguji Mutu Ahli Madya dari daftar jabatan yang diverifikasi Analis "
                                "Lima?\r\rIni jabatan terakhirnya: Analis Lima tidak lagi tercatat sebagai verifikator "
                                "kamus."));
        QCOMPARE(p.xVerifKamusJumlah->text(), QStringLiteral("Jumlah data : 2"));
        QCOMPARE(rowOf(p.StringGrid4, 1, kPlt), -1);
        QCOMPARE(column(p.StringGrid5, 2), (QStringList{"JF22", "JF11"})); // the first verifier's now

        // No: nothing goes.
        a.ctx.msgs.clear();
        a.ctx.msgs.answers = {false};
        p.SpeedButton34->click();
        QCOMPARE(a.ctx.msgs.log.size(), 1);
        QCOMPARE(column(p.StringGrid5, 2), (QStringList{"JF22", "JF11"}));
    }

    // The page offers its actions to whoever reaches it; the server decides.
    void othersAreRefusedByTheServer()
    {
        Admin a;
        VerifKamusPage p(a.ctx);
        p.dxSettingItems5Click();
        p.StringGrid4->setCurrentRow(rowOf(p.StringGrid4, 1, kAnalis));
        QVERIFY(a.ctx.actAs(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD")));
        const QString before = root("SELECT COUNT(*) FROM verifikator_kamus");
        a.ctx.msgs.answers = {true};
        p.SpeedButton34->click();
        QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Gagal menghapus data!\rHak akses tidak cukup."));
        QCOMPARE(root("SELECT COUNT(*) FROM verifikator_kamus"), before);
        // The lists stay as they were shown.
        QCOMPARE(p.StringGrid5->rowCount(), 4);

        a.ctx.msgs.clear();
        p.xVerifKamusTampilData->click();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{"Gagal menampilkan informasi!\rHak akses tidak cukup."});
        QCOMPARE(p.xVerifKamusJumlah->text(), QStringLiteral("Jumlah data : 3"));
    }
};

QTEST_MAIN(TestDictionaryPages)
#include "test_dictionary_pages.moc"
