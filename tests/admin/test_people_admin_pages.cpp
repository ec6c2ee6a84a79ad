// The staff, account and acting-assignment pages and their dialogs as an
// administrator uses them, on a page context without a main window,
// against the server.
#include "admin/adminskpdpage.h"
#include "admin/admpltpage.h"
#include "admin/admuserpage.h"
#include "admin/ue_plt.h"
#include "admin/ue_user.h"
#include "shell/pageheader.h"
#include "fakecontext.h"
#include "orgfixture.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_people_admin_pages");
const QString kBelum = QStringLiteral("199702022022012012");
const QString kGagal = QString::fromUtf8(stdmsg::GagalMenampilkan);
using Kind = Messages::Kind;

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QDate serverToday()
{
    return QDate::fromString(root("SELECT CURDATE()"), Qt::ISODate);
}

QString levelOf(const QString& nip)
{
    return root("SELECT COALESCE((SELECT level FROM kinerja_user WHERE nip = '" + nip + "'), 'none')");
}

QString logRows(const QString& aksi)
{
    return root("SELECT COALESCE(GROUP_CONCAT(CONCAT_WS('/', nip, keterangan, target) ORDER BY id SEPARATOR ' # '), "
                "'') FROM kinerja_log_proses WHERE aksi = '" + aksi + "'");
}

int rowOf(const StringGrid* g, int col, const QString& value)
{
    for (int r = 1; r < g->rowCount(); ++r)
        if (g->cell(r, col) == value)
            return r;
    return -1;
}

// An administrator logged in on the server, with the agency of the profile.
struct Admin {
    Admin(const QString& nip, const QString& name, const QString& level)
        : ctx(kSchema, QDateTime(serverToday(), QTime(9, 0)))
    {
        QVERIFY(ctx.actAs(nip, name, level));
        ctx.sessionValue.kode_induk = root("SELECT induk_id FROM cache_pns WHERE nip = '" + nip + "'");
    }
    FakeContext ctx;
};

} // namespace

class TestPeopleAdminPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("people_admin.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    // ---------------------------------------------------------------- staff per unit

    void staffList()
    {
        Admin a(kKabid, "Kabid Dua", "Admin SKPD");
        AdminSKPDPage page(a.ctx);
        QCOMPARE(page.xAdminSKPDJumlah->text(), QStringLiteral("Jumlah data : 0"));
        page.dxAdminItems0Click();
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&page));
        QCOMPARE(page.header()->caption(), QStringLiteral("Halaman Admin SKPD"));
        QVERIFY(a.ctx.msgs.log.isEmpty());
        StringGrid* g = page.sg_admin_skpd_pns;
        QCOMPARE(g->colCount(), 8);
        QCOMPARE(g->rowCount(), 9);
        QCOMPARE(page.xAdminSKPDJumlah->text(), QStringLiteral("Jumlah bawahan : 8"));
        QCOMPARE(g->cell(0, 7), QStringLiteral("Status"));
        QCOMPARE(g->cell(1, 1), kBelum);
        QCOMPARE(g->cell(1, 7), QStringLiteral("Belum Terdaftar"));
        QCOMPARE(g->cell(2, 7), QStringLiteral("Terdaftar"));

        // Enter in the name edit starts nothing.
        page.xAdminSKPDNama->setText(QStringLiteral("Empat"));
        QTest::keyClick(page.xAdminSKPDNama, Qt::Key_Return);
        QCOMPARE(g->rowCount(), 9);
        page.xAdminSKPDTampilDataClick();
        QCOMPARE(g->rowCount(), 2);
        QCOMPARE(g->cell(1, 1), kPelaksana);

        // No kind ticked: the list is still asked for, with "x".
        page.xAdminSKPDNama->clear();
        for (QCheckBox* c : {page.xAdminSKPDJenis1, page.xAdminSKPDJenis2, page.xAdminSKPDJenis3})
            c->setChecked(false);
        QCOMPARE(page.positionKindList(), QStringLiteral("x"));
        page.xAdminSKPDTampilDataClick();
        QCOMPARE(page.xAdminSKPDJumlah->text(), QStringLiteral("Jumlah bawahan : 0"));
        QCOMPARE(g->rowCount(), 1);
        page.SpeedButton37Click();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{"Tidak ada data yang bisa diproses!"});
    }

    // The second row's person is asked about, deleted and logged; the list
    // is reloaded.
    void resetOfTheSecondRow()
    {
        Admin a(kKabid, "Kabid Dua", "Admin SKPD");
        AdminSKPDPage page(a.ctx);
        page.dxAdminItems0Click();
        StringGrid* g = page.sg_admin_skpd_pns;
        QCOMPARE(g->cell(2, 1), kPlt);
        g->setCurrentRow(2);
        a.ctx.msgs.answers = {true};
        page.SpeedButton37Click();
        QCOMPARE(a.ctx.msgs.log.size(), 2);
        QCOMPARE(a.ctx.msgs.log[0].kind, Kind::Confirmation);
        QCOMPARE(a.ctx.msgs.log[0].text,
                 QStringLiteral("Reset akun Tarvesa a.n. Analis Lima ?\r\rreset akun Tarvesa juga akan menghapus akses "
                                "ke aplikasi TPP jika ada.\r\rCatatan :\rGunakan fitur ini dengan bijak dan "
                                "bertanggungjawab. data akun akan dihapus secara permanen."));
        QCOMPARE(a.ctx.msgs.log[1].kind, Kind::Information);
        QCOMPARE(a.ctx.msgs.log[1].text, QStringLiteral("Data berhasil dihapus!"));
        QCOMPARE(levelOf(kPlt), QStringLiteral("none"));
        QCOMPARE(logRows("User"), kKabid + "/Reset Akun/" + kPlt);
        QCOMPARE(g->cell(rowOf(g, 1, kPlt), 7), QStringLiteral("Belum Terdaftar"));
    }

    void resetAnsweredNo()
    {
        Admin a(kKabid, "Kabid Dua", "Admin SKPD");
        AdminSKPDPage page(a.ctx);
        page.dxAdminItems0Click();
        page.sg_admin_skpd_pns->setCurrentRow(2);
        a.ctx.msgs.answers = {false};
        page.SpeedButton37Click();
        QCOMPARE(a.ctx.msgs.log.size(), 1);
        QCOMPARE(levelOf(kPlt), QStringLiteral("2"));
        QCOMPARE(logRows("User"), QString());
    }

    // The reset and its log row are one: a log row that fails takes the
    // deletion back, and the user hears of the failure only.
    void logFailureTakesTheResetBack()
    {
        Admin a(kKabid, "Kabid Dua", "Admin SKPD");
        AdminSKPDPage page(a.ctx);
        page.dxAdminItems0Click();
        QVERIFY(testdb::rootExec(kSchema, "CREATE TRIGGER uji_log_gagal BEFORE INSERT ON kinerja_log_proses FOR EACH "
                                          "ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'log rusak'"));
        page.sg_admin_skpd_pns->setCurrentRow(2);
        a.ctx.msgs.answers = {true};
        page.SpeedButton37Click();
        QCOMPARE(a.ctx.msgs.texts().mid(1), (QStringList{kGagal + "\rlog rusak."}));
        QCOMPARE(a.ctx.msgs.lastKind(), Kind::Warning);
        QCOMPARE(levelOf(kPlt), QStringLiteral("2"));
        QCOMPARE(page.sg_admin_skpd_pns->cell(2, 7), QStringLiteral("Terdaftar"));
        QCOMPARE(page.xAdminSKPDJumlah->text(), QStringLiteral("Jumlah bawahan : 8"));
    }

    // A reset the server refuses (a higher level) shows the fixed failure
    // text and leaves the account and the log alone.
    void resetRefusedByTheServer()
    {
        Admin a(kKabid, "Kabid Dua", "Admin SKPD");
        AdminSKPDPage page(a.ctx);
        page.dxAdminItems0Click();
        page.sg_admin_skpd_pns->setCurrentRow(rowOf(page.sg_admin_skpd_pns, 1, kAnalis));
        a.ctx.msgs.answers = {true};
        page.SpeedButton37Click();
        QCOMPARE(a.ctx.msgs.texts().mid(1), QStringList{kGagal + "\rLevel akun tidak di bawah level pengguna ini."});
        QCOMPARE(levelOf(kAnalis), QStringLiteral("4"));
        QCOMPARE(logRows("User"), QString());
    }

    // ---------------------------------------------------------------- accounts and levels

    void accountList()
    {
        Admin a(kKepala, "Kepala Satu", "Admin System");
        AdmUserPage page(a.ctx);
        QCOMPARE(page.levelList(), QStringLiteral("x,Admin System,Admin Sektira,Admin SKPD,Supervisor"));
        page.dxSettingItems1Click();
        QCOMPARE(page.header()->caption(), QStringLiteral("Halaman Admin - Setting User Aplikasi"));
        QCOMPARE(page.xAdmUserJumlah->text(), QStringLiteral("Jumlah Data : 4"));
        QCOMPARE(page.sg_admUser->colCount(), 5);
        QCOMPARE(page.sg_admUser->cell(1, 3), QStringLiteral("Admin System"));
        for (QCheckBox* c : {page.xAdmUserLv1, page.xAdmUserLv2, page.xAdmUserLv3, page.xAdmUserLv4, page.xAdmUserLv5})
            c->setChecked(false);
        QCOMPARE(page.levelList(), QStringLiteral("x"));
        page.xAdmUserTampilDataClick();
        QCOMPARE(page.xAdmUserJumlah->text(), QStringLiteral("Jumlah Data : 0"));
        QCOMPARE(page.sg_admUser->rowCount(), 1);
        page.SpeedButton41Click();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::TidakAdaDipilih)});
        // Only an Admin System gets the list.
        Admin s(kKabid, "Kabid Dua", "Admin SKPD");
        AdmUserPage other(s.ctx);
        other.xAdmUserTampilDataClick();
        QCOMPARE(s.ctx.msgs.texts(), QStringList{kGagal + "\rHak akses tidak cukup."});
    }

    // The dialog as the administrator fills it: a short NIP, one nobody
    // has, one without an account, then a level given.
    void givingALevel()
    {
        Admin a(kKepala, "Kepala Satu", "Admin System");
        AdmUserPage page(a.ctx);
        page.dxSettingItems1Click();
        const QString logBefore = root("SELECT COUNT(*) FROM kinerja_log_proses");
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& f = static_cast<Tfe_user&>(d);
            QCOMPARE(f.fe_userJudul->caption(), QStringLiteral("Tambah User"));
            QCOMPARE(f.levelIndex(), 1);
            QVERIFY(f.edNIP->text().isEmpty());
            // Digits only, at most 18.
            QTest::keyClicks(f.edNIP, QStringLiteral("19750606a2000-03200699"));
            QCOMPARE(f.edNIP->text(), QStringLiteral("197506062000032006"));
            f.edNIP->setText(kGuru.left(17));
            QVERIFY(!f.btSimpanClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("angka NIP kurang dari 18 digit, silahkan periksa kembali!"));
            QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses"), logBefore);
            f.edNIP->setText(QStringLiteral("199901012020011099"));
            QVERIFY(!f.btSimpanClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Tidak ada PNS aktif dengan NIP 199901012020011099!"));
            QCOMPARE(a.ctx.msgs.lastKind(), Kind::Information);
            f.edNIP->setText(kCandidate);
            QVERIFY(!f.btSimpanClick());
            QVERIFY(a.ctx.msgs.last().contains(QStringLiteral("belum punya akun Tarvesa")));
            QVERIFY(a.ctx.msgs.last().contains(QStringLiteral("registrasi")));
            f.edNIP->setText(kKepala);
            QVERIFY(!f.btSimpanClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Hak akses akun sendiri tidak bisa diubah!"));
            f.edNIP->setText(kGuru);
            f.rgLevelItem2->setChecked(true);
            QCOMPARE(f.levelName(), QStringLiteral("Supervisor"));
            a.ctx.msgs.answers = {false};
            QVERIFY(!f.btSimpanClick());
            QCOMPARE(levelOf(kGuru), QStringLiteral("1"));
            a.ctx.msgs.answers = {true};
            QVERIFY(f.btSimpanClick());
        });
        page.SpeedButton40Click();
        QCOMPARE(a.ctx.dialogRunner.opened, QStringList{"Tfe_user"});
        QVERIFY(a.ctx.dialogRunner.scripts.isEmpty());
        QCOMPARE(a.ctx.msgs.log[a.ctx.msgs.log.size() - 2].text,
                 QStringLiteral("Ubah hak akses Guru Enam (NIP ") + kGuru +
                     QStringLiteral(")\rdari Basic User menjadi Supervisor?"));
        QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Data berhasil disimpan!"));
        QCOMPARE(levelOf(kGuru), QStringLiteral("2"));
        QCOMPARE(logRows("User - Update"), kKepala + "/Level Basic User -> Supervisor/" + kGuru);
        // The list was reloaded and shows the new supervisor.
        QVERIFY(rowOf(page.sg_admUser, 1, kGuru) > 0);
    }

    void takingALevelBack()
    {
        Admin a(kKepala, "Kepala Satu", "Admin System");
        AdmUserPage page(a.ctx);
        page.dxSettingItems1Click();
        // The own account: refused before any question.
        page.sg_admUser->setCurrentRow(rowOf(page.sg_admUser, 1, kKepala));
        page.SpeedButton41Click();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{"Hak akses akun sendiri tidak bisa dihapus!"});
        a.ctx.msgs.clear();
        page.sg_admUser->setCurrentRow(rowOf(page.sg_admUser, 1, kAnalis));
        a.ctx.msgs.answers = {true};
        page.SpeedButton41Click();
        QCOMPARE(a.ctx.msgs.log[0].kind, Kind::Confirmation);
        QVERIFY(a.ctx.msgs.log[0].text.contains(QStringLiteral("Analis Tiga")));
        QVERIFY(a.ctx.msgs.log[0].text.contains(kAnalis));
        QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Data berhasil disimpan!"));
        QCOMPARE(levelOf(kAnalis), QStringLiteral("1"));
        QCOMPARE(logRows("User - Update"), kKepala + "/Level Admin Sektira -> Basic User/" + kAnalis);
        QCOMPARE(rowOf(page.sg_admUser, 1, kAnalis), -1);
    }

    // ---------------------------------------------------------------- acting assignments

    void assignmentList()
    {
        Admin a(kKepala, "Kepala Satu", "Admin System");
        AdmPltPage page(a.ctx);
        page.dxSettingItems3Click();
        QCOMPARE(page.header()->caption(), QStringLiteral("Halaman Admin - Setting PLT / PLH / KS / KAPUS / Korwil"));
        StringGrid* g = page.sg_admPlt;
        QCOMPARE(g->colCount(), 9);
        QCOMPARE(g->colWidth(0), 0);
        QCOMPARE(page.xAdmPltJumlah->text(), QStringLiteral("Jumlah data : 3"));
        QCOMPARE(g->cell(1, 2), kPlt);
        QCOMPARE(g->cell(1, 8), QStringLiteral("Plt - AKTIF"));
        QCOMPARE(g->cell(1, 7), QStringLiteral("-"));

        for (QCheckBox* c : {page.xAdmPltJenis1, page.xAdmPltJenis2, page.xAdmPltJenis3, page.xAdmPltAktif1})
            c->setChecked(false);
        QCOMPARE(page.kindList(), QStringLiteral("x,korwil"));
        QCOMPARE(page.statusList(), QStringLiteral("x,-"));
        page.xAdmPltTampilDataClick();
        QCOMPARE(page.xAdmPltJumlah->text(), QStringLiteral("Jumlah data : 0"));
        page.xAdmPltJenis4->setChecked(false);
        QCOMPARE(page.kindList(), QStringLiteral("x"));
        page.Ubah1Click();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::TidakAdaDipilih)});
        QVERIFY(a.ctx.dialogRunner.opened.isEmpty());
    }

    // A Plh for the occupied J2: the position is found by searching, the
    // dates are sent as yyyy-mm-dd; the same again collides.
    void recordingAnAssignment()
    {
        Admin a(kKepala, "Kepala Satu", "Admin System");
        AdmPltPage page(a.ctx);
        page.dxSettingItems3Click();
        const QDate today = a.ctx.clock().today();
        const auto fill = [&](Tfe_plt& f) {
            f.edNIP->setText(kAnalis);
            f.edCariJabatan->setText(QStringLiteral("Bidang Satu"));
            f.btCariJabatanClick();
            QCOMPARE(f.cbJabatan->count(), 1);
            QCOMPARE(f.cbJabatan->currentData().toString(), QStringLiteral("J2"));
            f.setKind(QStringLiteral("plh"));
            f.cbTanpaAkhir->setChecked(false);
            f.cbTanpaAkhirClick();
            f.dtAkhir->setDate(today.addDays(3));
        };
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& f = static_cast<Tfe_plt&>(d);
            QCOMPARE(f.dtMulai->date(), today);
            QVERIFY(f.cbTanpaAkhir->isChecked());
            QVERIFY(!f.btSimpanClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("angka NIP kurang dari 18 digit, silahkan periksa kembali!"));
            fill(f);
            f.dtAkhir->setDate(today.addDays(-1));
            QVERIFY(!f.btSimpanClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Tanggal akhir tidak boleh sebelum tanggal mulai!"));
            f.dtAkhir->setDate(today.addDays(3));
            a.ctx.msgs.answers = {true};
            QVERIFY(f.btSimpanClick());
        });
        page.ambah2Click();
        QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Data berhasil disimpan!"));
        QCOMPARE(root("SELECT CONCAT_WS('|', nip, jenis, plt_start, plt_end) FROM plt WHERE kode_jabatan_plt = 'J2'"),
                 kAnalis + "|plh|" + today.toString(Qt::ISODate) + "|" + today.addDays(3).toString(Qt::ISODate));
        QCOMPARE(page.xAdmPltJumlah->text(), QStringLiteral("Jumlah data : 4"));
        QCOMPARE(root("SELECT kinerja_fn_atasan_nip('" + kPelaksana + "')"), kAnalis);

        a.ctx.msgs.clear();
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& f = static_cast<Tfe_plt&>(d);
            fill(f);
            f.edNIP->setText(kPlt);
            QVERIFY(!f.btSimpanClick());
        });
        page.btAdmPltTambah->click();
        QCOMPARE(a.ctx.msgs.texts(),
                 QStringList{"Jabatan tersebut sudah punya penugasan jenis yang sama pada periode ini!"});
        QCOMPARE(root("SELECT COUNT(*) FROM plt"), QStringLiteral("4"));
    }

    // "Ubah" ends the acting head's assignment: no longer in force today.
    void endingAnAssignment()
    {
        Admin a(kKepala, "Kepala Satu", "Admin System");
        AdmPltPage page(a.ctx);
        page.dxSettingItems3Click();
        page.sg_admPlt->setCurrentRow(rowOf(page.sg_admPlt, 2, kPlt));
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& f = static_cast<Tfe_plt&>(d);
            QVERIFY(f.isChange());
            QCOMPARE(f.edNIP->text(), kPlt);
            QVERIFY(f.cbTanpaAkhir->isChecked());
            // Unchanged: the server's verdict, no question.
            QVERIFY(!f.btSimpanClick());
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Tanggal akhir tidak berubah!"));
            f.cbAkhiri->setChecked(true);
            a.ctx.msgs.answers = {true};
            QVERIFY(f.btSimpanClick());
        });
        page.Ubah1Click();
        QCOMPARE(a.ctx.msgs.last(),
                 QStringLiteral("Data berhasil disimpan!\rPenugasan tidak berlaku lagi mulai hari ini."));
        const int row = rowOf(page.sg_admPlt, 2, kPlt);
        QCOMPARE(page.sg_admPlt->cell(row, 8), QStringLiteral("Plt - TIDAK AKTIF"));
        QCOMPARE(root("SELECT COALESCE(kinerja_fn_atasan_nip('" + kPengelola + "'), 'none')"), QStringLiteral("none"));
        QVERIFY(logRows("PLT - Ubah").startsWith(kKepala + "/plt J3 #"));
    }
};

QTEST_MAIN(TestPeopleAdminPages)
#include "test_people_admin_pages.moc"
