// The delegation page, its wizard and its end-date dialog as administrators
// use them, on a page context without a main window, against the server.
#include "shell/pageheader.h"
#include "app/umain.h"
#include "shell/wizardframe.h"
#include "delegation/delegasipage.h"
#include "delegation/ut_delegasi.h"
#include "delegation/uu_delegasi.h"
#include "ui/stringgrid.h"
#include "fakecontext.h"
#include "mainfixture.h"
#include "delegationfixture.h"
#include "orgfixture.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_delegation_pages");
const QString kNotSelected = QString::fromUtf8(stdmsg::TidakAdaDipilih);
const QString kGagalTerhubung = QString::fromUtf8(stdmsg::GagalTerhubung);
const QString kGagalMenampilkan = QString::fromUtf8(stdmsg::GagalMenampilkan);
const QString kInvalid = QStringLiteral("Tanggal tidak valid !\r\rpastikan tanggal selesai delegasi tidak lebih awal "
                                        "dari tanggal awal delegasi.");
const QString kAktifRefused = QStringLiteral("Gagal memilih PNS karena Status delegasi saat ini AKTIF, \r\rsilahkan "
                                             "non-Aktifkan dulu status delegasinya untuk menambahkan status delegasi "
                                             "baru!");
const QString kAdded = QStringLiteral("Data delegasi berhasil ditambahkan!\r\rCatatan :\rData delegasi akan berubah di "
                                      "sistem Tarvesa maksimal 60 menit sejak diinputkan.");
const QString kNoChangeRight =
    QStringLiteral("Data delegasi hanya bisa ditambah atau diubah oleh Admin SKPD dan Admin System.");

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QDate serverToday()
{
    return QDate::fromString(root("SELECT CURDATE()"), Qt::ISODate);
}

int rowOf(const StringGrid* g, int col, const QString& value)
{
    for (int r = 1; r < g->rowCount(); ++r)
        if (g->cell(r, col) == value)
            return r;
    return -1;
}

QStringList column(const StringGrid* g, int col)
{
    QStringList out;
    for (int r = 1; r < g->rowCount(); ++r)
        out << g->cell(r, col);
    return out;
}

// An administrator at the delegation page, logged in on the server.
struct Admin {
    Admin(const QString& nip, const QString& name, const QString& level, const QString& induk = QStringLiteral("U1"))
        : ctx(kSchema, QDateTime(serverToday(), QTime(10, 11, 12))), page(ctx)
    {
        QVERIFY(ctx.actAs(nip, name, level));
        ctx.session().kode_induk = induk;
    }

    bool select(const QString& nip, const QString& status)
    {
        for (int r = 1; r < page.sg_delegasi->rowCount(); ++r)
            if (page.sg_delegasi->cell(r, 2) == nip && page.sg_delegasi->cell(r, 9) == status) {
                page.sg_delegasi->setCurrentRow(r);
                return true;
            }
        return false;
    }

    FakeContext ctx;
    DelegasiPage page;
};

// Wizard steps as a user takes them.
void next(Tft_delegasi& wz)
{
    wz.JvWizard1->nextButton->click();
}

void pick(StringGrid* g, int col, const QString& value)
{
    const int r = rowOf(g, col, value);
    QVERIFY2(r > 0, qPrintable(value));
    g->setCurrentRow(r);
}

// From the first page to the summary with an official and a unit.
void toSummary(Tft_delegasi& wz, const QString& nip, const QString& unit)
{
    next(wz);
    pick(wz.sg_jf_list, 1, nip);
    next(wz);
    pick(wz.sg_unit_list, 1, unit);
    next(wz);
    QCOMPARE(wz.JvWizard1->currentPage(), 3);
}

} // namespace

class TestDelegationPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(createDelegationSchema(kSchema));
    }

    void init()
    {
        QVERIFY(testdb::restoreSchema(kSchema));
        QLocale::setDefault(QLocale::c());
    }

    // ---------------------------------------------------------------- page

    void opening_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("induk");
        QTest::addColumn<QStringList>("nips");
        QTest::newRow("Admin SKPD: own agency") << kKabid << "Admin SKPD" << "U1" << QStringList{kGuru, kAnalis};
        QTest::newRow("Admin System: every agency")
            << kKepala << "Admin System" << "U1" << QStringList{kCandidate, kGuru, kAnalis};
        QTest::newRow("Admin Sektira: reads its own agency") << kAnalis << "Admin Sektira" << "U1"
                                                             << QStringList{kGuru, kAnalis};
    }

    void opening()
    {
        QFETCH(QString, nip);
        QFETCH(QString, level);
        QFETCH(QString, induk);
        QFETCH(QStringList, nips);
        Admin a(nip, QStringLiteral("Admin"), level, induk);
        QCOMPARE(a.page.xDelegasiJumlah->text(), QStringLiteral("Jumlah data : 0"));
        a.page.dxAdminItems1Click();
        QVERIFY(a.ctx.msgs.log.isEmpty());
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&a.page));
        QCOMPARE(a.page.header()->caption(), QStringLiteral("Halaman Administrasi Delegasi"));
        QCOMPARE(a.page.header()->startColor(), QColor(0x99, 0x32, 0xCC));
        QCOMPARE(a.page.xDelegasiCatatan1->text(), QStringLiteral("Catatan pertama uji"));
        QCOMPARE(a.page.xDelegasiCatatan2->text(), QStringLiteral("Catatan kedua uji"));
        QCOMPARE(a.page.xDelegasiJumlah->text(), "Jumlah data : " + QString::number(nips.size()));
        QCOMPARE(column(a.page.sg_delegasi, 2), nips);
        StringGrid* g = a.page.sg_delegasi;
        QCOMPARE(g->colCount(), 11);
        QCOMPARE(g->colWidth(0), 0);
        QCOMPARE(g->cell(0, 9), QStringLiteral("Status Aktif"));
        const int guru = rowOf(g, 2, kGuru);
        QCOMPARE(g->cell(guru, 0), QStringLiteral("1"));
        QCOMPARE(g->cell(guru, 3), QStringLiteral("Guru Enam"));
        QCOMPARE(g->cell(guru, 6), QStringLiteral("Kepala Bidang Dua"));
        QCOMPARE(g->cell(guru, 7), serverToday().addDays(-5).toString(Qt::ISODate));
        QCOMPARE(g->cell(guru, 9), QStringLiteral("AKTIF"));
        QCOMPARE(g->cell(guru, 10), kKabid);
    }

    void openingFailsWithoutTheNotes()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_text_get"));
        a.page.dxAdminItems1Click();
        QVERIFY(createDelegationSchema(kSchema));
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kGagalMenampilkan});
        QCOMPARE(a.ctx.activePage(), nullptr);
        QCOMPARE(a.page.sg_delegasi->rowCount(), 0);
    }

    void filterByNameOrNip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("nips");
        QTest::newRow("empty: all") << "" << QStringList{kGuru, kAnalis};
        QTest::newRow("part of a name") << "guru" << QStringList{kGuru};
        QTest::newRow("part of a NIP") << "2015012003" << QStringList{kAnalis};
        QTest::newRow("quote") << "O'Neil" << QStringList{};
    }

    void filterByNameOrNip()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, nips);
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        a.page.dxAdminItems1Click();
        a.page.xDelegasiNama->setText(text);
        QTest::keyClick(a.page.xDelegasiNama, Qt::Key_Return); // Enter starts nothing
        QCOMPARE(column(a.page.sg_delegasi, 2), (QStringList{kGuru, kAnalis}));
        a.page.xDelegasiTampilData->click();
        QCOMPARE(column(a.page.sg_delegasi, 2), nips);
        QCOMPARE(a.page.xDelegasiJumlah->text(), "Jumlah data : " + QString::number(nips.size()));
        QVERIFY(a.ctx.msgs.log.isEmpty());
    }

    void listRefusedForOtherLevels()
    {
        Admin a(kPlt, QStringLiteral("Analis Lima"), QStringLiteral("Supervisor"));
        a.page.xDelegasiTampilDataClick();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kGagalMenampilkan + "\rBukan admin delegasi."});
        QCOMPARE(a.page.xDelegasiJumlah->text(), QStringLiteral("Jumlah data : 0"));
    }

    // ---------------------------------------------------------------- update

    void updateOnAnEmptyList()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        a.page.dxAdminItems1Click();
        a.page.xDelegasiNama->setText(QStringLiteral("tidak ada"));
        a.page.xDelegasiTampilDataClick();
        a.page.SpeedButton8Click();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kNotSelected});
        QVERIFY(a.ctx.dialogRunner.opened.isEmpty());
    }

    void updateOfAnEndedDelegationIsRefused()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        a.page.dxAdminItems1Click();
        QVERIFY(a.select(kAnalis, QStringLiteral("TIDAK AKTIF")));
        a.page.SpeedButton8Click();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{QStringLiteral("Delegasi yang sudah tidak aktif tidak bisa diupdate "
                                                                "kembali, silahkan buat delegasi baru!")});
        QCOMPARE(a.ctx.msgs.lastKind(), Messages::Kind::Information);
        QVERIFY(a.ctx.dialogRunner.opened.isEmpty());
    }

    void updateOpensTheDialogForAnyOtherState_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("AKTIF") << "AKTIF";
        QTest::newRow("another text") << "aktif?";
        QTest::newRow("empty") << "";
    }

    void updateOpensTheDialogForAnyOtherState()
    {
        QFETCH(QString, state);
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        a.page.dxAdminItems1Click();
        QVERIFY(a.select(kGuru, QStringLiteral("AKTIF")));
        a.page.sg_delegasi->setCell(a.page.sg_delegasi->currentRow(), 9, state);
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& fu = static_cast<Tfu_delegasi&>(d);
            QCOMPARE(fu.objectName(), QStringLiteral("fu_delegasi"));
            QCOMPARE(fu.windowTitle(), QStringLiteral("Update data pendelegasian"));
            QCOMPARE(fu.edNIP->text(), kGuru);
            QCOMPARE(fu.edNama->text(), QStringLiteral("Guru Enam"));
            QVERIFY(fu.edNIP->isReadOnly() && fu.edNama->isReadOnly());
            QCOMPARE(fu.edNIP->maxLength(), 18);
            QCOMPARE(fu.edTanggal->date(), a.ctx.clock().today());
        });
        a.page.SpeedButton8Click();
        QCOMPARE(a.ctx.dialogRunner.opened, QStringList{"Tfu_delegasi"});
        QVERIFY(a.ctx.msgs.log.isEmpty());
    }

    // The server's check refuses a date before the start; any other date is
    // stored, sent year first whatever the user's date settings; saving
    // again in the same dialog checks and stores again.
    void savingTheEndDate()
    {
        QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
        // Started today: an end date on the start day keeps it in force.
        QVERIFY(testdb::rootExec(kSchema, "UPDATE delegasi SET date_start = CURDATE() WHERE id = 1"));
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        a.page.dxAdminItems1Click();
        QVERIFY(a.select(kGuru, QStringLiteral("AKTIF")));
        const QDate start = serverToday();
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& fu = static_cast<Tfu_delegasi&>(d);
            QSignalSpy closed(&fu, &QDialog::finished);
            fu.edTanggal->setDate(start.addDays(-1));
            QVERIFY(!fu.btSimpanClick());
            QCOMPARE(a.ctx.msgs.texts(), QStringList{kInvalid});
            QCOMPARE(a.ctx.msgs.lastKind(), Messages::Kind::Warning);
            QCOMPARE(root("SELECT COALESCE(date_end, '-') FROM delegasi WHERE id = 1"), QStringLiteral("-"));

            // The start day itself passes the client and the server.
            fu.edTanggal->setDate(start);
            fu.btSimpan->click();
            QCOMPARE(a.ctx.msgs.last(), QStringLiteral("Data berhasil diubah."));
            QCOMPARE(a.ctx.msgs.lastKind(), Messages::Kind::Information);
            QCOMPARE(root("SELECT DATE(date_end) FROM delegasi WHERE id = 1"), start.toString(Qt::ISODate));

            // The dialog stays open: a later date, saved again, is stored too.
            fu.edTanggal->setDate(serverToday().addDays(20));
            QVERIFY(fu.btSimpanClick());
            QCOMPARE(root("SELECT DATE(date_end) FROM delegasi WHERE id = 1"),
                     serverToday().addDays(20).toString(Qt::ISODate));
            QCOMPARE(closed.count(), 0);
            QCOMPARE(a.ctx.msgs.texts(), (QStringList{kInvalid, "Data berhasil diubah.", "Data berhasil diubah."}));
        });
        a.page.SpeedButton8Click();
        QCOMPARE(root("SELECT GROUP_CONCAT(keterangan ORDER BY id) FROM kinerja_log_proses WHERE aksi = "
                      "'Delegasi - Ubah'"),
                 "Tanggal selesai " + start.toString(Qt::ISODate) + ",Tanggal selesai " +
                     serverToday().addDays(20).toString(Qt::ISODate));
        // The list is not reloaded behind the dialog.
        QCOMPARE(a.page.sg_delegasi->cell(a.page.sg_delegasi->currentRow(), 8), QString());
    }

    // An ended delegation and an unchanged date are named, not blamed on
    // the connection; nothing changes.
    void endDateVerdictsAreNamed()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        Tfu_delegasi ended(a.ctx, kAnalis, QStringLiteral("Analis Tiga"));
        ended.edTanggal->setDate(serverToday().addDays(3));
        QVERIFY(!ended.btSimpanClick());
        QCOMPARE(a.ctx.msgs.texts(), QStringList{"Delegasi ini sudah tidak aktif!\r\rtanggal selesai delegasi yang "
                                                 "sudah berakhir tidak bisa diubah."});

        QVERIFY(testdb::rootExec(kSchema, "UPDATE delegasi SET date_end = CURDATE() + INTERVAL 9 DAY WHERE id = 1"));
        a.ctx.msgs.clear();
        Tfu_delegasi same(a.ctx, kGuru, QStringLiteral("Guru Enam"));
        same.edTanggal->setDate(serverToday().addDays(9));
        QVERIFY(!same.btSimpanClick());
        QCOMPARE(a.ctx.msgs.texts(), QStringList{"Tanggal selesai tidak berubah!\r\rpilih tanggal selesai yang lain, "
                                                 "atau tutup jendela ini."});
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses"), QStringLiteral("0"));
    }

    // Every failure reads as a connection failure, with the server's reason
    // where it refused on purpose; the input stays and the next "Simpan"
    // tries the check and the change again.
    void failuresInTheDialog()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        Tfu_delegasi fu(a.ctx, kGuru, QStringLiteral("Guru Enam"));
        const QDate end = serverToday().addDays(9);
        fu.edTanggal->setDate(end);

        // The server refuses the change (maintenance) after a valid check.
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'is_maintenance'"));
        QVERIFY(!fu.btSimpanClick());
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kGagalTerhubung + "\rSistem sedang maintenance."});
        QCOMPARE(a.ctx.msgs.lastKind(), Messages::Kind::Warning);
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '0' WHERE nama = 'is_maintenance'"));
        QCOMPARE(fu.edTanggal->date(), end);
        QVERIFY(fu.btSimpanClick());
        QCOMPARE(root("SELECT DATE(date_end) FROM delegasi WHERE id = 1"), end.toString(Qt::ISODate));

        // Nobody bound: the check itself fails.
        a.ctx.msgs.clear();
        a.ctx.session().token.clear();
        QVERIFY(!fu.btSimpanClick());
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kGagalTerhubung + "\rBelum login."});

        // A server that is not there.
        const QByteArray port = qgetenv("TARVESA_TEST_PORT");
        qputenv("TARVESA_TEST_PORT", "1");
        FakeContext down(kSchema);
        port.isNull() ? qunsetenv("TARVESA_TEST_PORT") : qputenv("TARVESA_TEST_PORT", port);
        Tfu_delegasi unreachable(down, kGuru, QStringLiteral("Guru Enam"));
        QVERIFY(!unreachable.btSimpanClick());
        QCOMPARE(down.msgs.texts(), QStringList{kGagalTerhubung});
    }

    void othersChangeNothing()
    {
        Admin a(kAnalis, QStringLiteral("Analis Tiga"), QStringLiteral("Admin Sektira"));
        a.page.dxAdminItems1Click();
        QVERIFY(a.select(kGuru, QStringLiteral("AKTIF")));
        a.page.SpeedButton8Click();
        a.page.SpeedButton7Click();
        QCOMPARE(a.ctx.msgs.texts(), (QStringList{kNoChangeRight, kNoChangeRight}));
        QVERIFY(a.ctx.dialogRunner.opened.isEmpty());
    }

    // ---------------------------------------------------------------- wizard

    // The whole way through as the agency's administrator, with the refusals
    // on the way.
    void addingThroughTheWizard()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        a.page.dxAdminItems1Click();
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_delegasi&>(d);
            QCOMPARE(wz.objectName(), QStringLiteral("ft_delegasi"));
            QCOMPARE(wz.JvWizard1->currentPage(), 0);
            QCOMPARE(wz.JvWizard1->header->caption(), QStringLiteral("Tambah Pendelegasian"));
            QCOMPARE(wz.JvWizard1->subtitleLabel->text(), QStringLiteral("Penjelasan pendelegasian PNS"));
            // The wizard's own captions (not Qt's).
            const QStringList buttons{wz.JvWizard1->backButton->text(), wz.JvWizard1->nextButton->text(),
                                      wz.JvWizard1->finishButton->text(), wz.JvWizard1->cancelButton->text()};
            QCOMPARE(buttons, (QStringList{"< &Back", "&Next >", "&Finish", "Cancel"}));
            QVERIFY(wz.Memo1->isReadOnly());
            QCOMPARE(wz.Memo1->toPlainText().split('\n').size(), 10);
            QVERIFY(wz.Memo1->toPlainText().endsWith(
                "pendelegasian di sistem Tarvesa diinput oleh Admin SKPD dan atas izin dari Kepala Perangkat Daerah."));

            // Page 2: the officials of the agency with their state.
            next(wz);
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            QCOMPARE(wz.JvWizard1->subtitleLabel->text(), QStringLiteral("Pilih PNS yang akan didelegasikan"));
            QCOMPARE(wz.lbJumlahData->text(), QStringLiteral("Jumlah data : 3"));
            QCOMPARE(column(wz.sg_jf_list, 1), (QStringList{kPlt, kAnalis, kGuru}));
            QCOMPARE(column(wz.sg_jf_list, 3), (QStringList{"", "TIDAK AKTIF", "AKTIF"}));
            QCOMPARE(wz.sg_jf_list->colCount(), 8);
            QCOMPARE(wz.sg_jf_list->colWidth(7), 0);
            QCOMPARE(wz.sg_jf_list->cell(0, 7), QStringLiteral("induk_id"));

            // One with a delegation in force cannot be chosen.
            pick(wz.sg_jf_list, 1, kGuru);
            next(wz);
            QCOMPARE(a.ctx.msgs.texts(), QStringList{kAktifRefused});
            QCOMPARE(wz.JvWizard1->currentPage(), 1);

            // Enter searches; an empty list blocks Next.
            a.ctx.msgs.clear();
            wz.edNama->setText(QStringLiteral("tidak ada"));
            QTest::keyClick(wz.edNama, Qt::Key_Return);
            QCOMPARE(wz.lbJumlahData->text(), QStringLiteral("Jumlah data : 0"));
            QCOMPARE(wz.sg_jf_list->rowCount(), 1);
            next(wz);
            QCOMPARE(a.ctx.msgs.texts(), QStringList{QStringLiteral("Pilih dulu nama PNS yang akan didelegasikan!")});
            QCOMPARE(wz.JvWizard1->currentPage(), 1);

            // An ended delegation is no obstacle.
            a.ctx.msgs.clear();
            wz.edNama->setText(QStringLiteral("Analis"));
            wz.btDelegasiJFTampilData->click();
            QCOMPARE(wz.lbJumlahData->text(), QStringLiteral("Jumlah data : 2"));
            pick(wz.sg_jf_list, 1, kAnalis);
            next(wz);
            QCOMPARE(wz.JvWizard1->currentPage(), 2);
            QCOMPARE(wz.var_induk, QStringLiteral("U1"));
            QCOMPARE(wz.JvWizard1->subtitleLabel->text(), QStringLiteral("Pilih Unit Administrator"));
            QCOMPARE(wz.lbUnitJumlah->text(), QStringLiteral("Jumlah data : 2"));
            QCOMPARE(column(wz.sg_unit_list, 3), (QStringList{"Kepala Bidang Dua", "Kepala Bidang Satu"}));
            QCOMPARE(column(wz.sg_unit_list, 4), (QStringList{"Plt. Analis Lima", "Kabid Dua"}));
            QCOMPARE(wz.sg_unit_list->colWidth(0), 0);
            QCOMPARE(wz.sg_unit_list->colWidth(1), 0);

            // No unit listed: Next refuses with a clear message.
            wz.edNamaUnit->setText(QStringLiteral("tidak ada"));
            QTest::keyClick(wz.edNamaUnit, Qt::Key_Enter);
            QCOMPARE(wz.lbUnitJumlah->text(), QStringLiteral("Jumlah data : 0"));
            next(wz);
            QCOMPARE(a.ctx.msgs.texts(),
                     QStringList{QStringLiteral("Pilih dulu unit administrator yang akan menerima delegasi!")});
            QCOMPARE(wz.JvWizard1->currentPage(), 2);

            wz.edNamaUnit->setText(QStringLiteral("Satu"));
            wz.btDelegasiUnitTampilData->click();
            pick(wz.sg_unit_list, 1, QStringLiteral("U1A"));
            next(wz);
            QCOMPARE(wz.JvWizard1->currentPage(), 3);
            QCOMPARE(wz.var_unit, QStringLiteral("U1A"));
            QCOMPARE(wz.JvWizard1->subtitleLabel->text(), QStringLiteral("Summary"));
            QCOMPARE(wz.edsNIP->text(), kAnalis);
            QCOMPARE(wz.edsNama->text(), QStringLiteral("Analis Tiga"));
            QCOMPARE(wz.edsUnit->text(), QStringLiteral("Kepala Bidang Satu"));
            QVERIFY(wz.JvWizard1->finishButton->isVisibleTo(&wz));
            QVERIFY(!wz.JvWizard1->nextButton->isVisibleTo(&wz));

            a.ctx.msgs.clear();
            a.ctx.msgs.answers << true;
            wz.JvWizard1->finishButton->click();
            QCOMPARE(a.ctx.msgs.texts(), (QStringList{"Simpan Pendelegasian?", kAdded}));
            QCOMPARE(a.ctx.msgs.lastKind(), Messages::Kind::Information);
        });
        a.page.SpeedButton7Click();
        QCOMPARE(a.ctx.dialogRunner.opened, QStringList{"Tft_delegasi"});
        QCOMPARE(root("SELECT CONCAT_WS('|', induk_id, unit_id, created_by, COALESCE(date_end, '-')) FROM delegasi "
                      "WHERE nip = '" + kAnalis + "' AND date_end IS NULL"),
                 "U1|U1A|" + kKabid + "|-");
        // The list is not reloaded afterwards.
        QCOMPARE(a.page.xDelegasiJumlah->text(), QStringLiteral("Jumlah data : 2"));
    }

    void wizardClosesAfterSaving()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        Tft_delegasi wz(a.ctx);
        QSignalSpy closed(&wz, &QDialog::finished);
        toSummary(wz, kPlt, QStringLiteral("U1A"));
        a.ctx.msgs.answers << true;
        QVERIFY(wz.JvWizardInteriorPage4FinishButtonClick());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(wz.result(), int(QDialog::Accepted));
    }

    // No to the question closes the whole wizard without saving.
    void answeringNoClosesTheWizard()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        Tft_delegasi wz(a.ctx);
        QSignalSpy closed(&wz, &QDialog::finished);
        toSummary(wz, kPlt, QStringLiteral("U1B"));
        a.ctx.msgs.answers << false;
        QVERIFY(!wz.JvWizardInteriorPage4FinishButtonClick());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(wz.result(), int(QDialog::Rejected));
        QCOMPARE(root("SELECT COUNT(*) FROM delegasi WHERE nip = '" + kPlt + "'"), QStringLiteral("0"));
        QCOMPARE(a.ctx.msgs.texts(), QStringList{"Simpan Pendelegasian?"});
    }

    // The server refuses the save (another administrator was quicker): the
    // wizard stays on the summary, so Finish can be tried again.
    void refusedSaveKeepsTheWizardOpen()
    {
        Admin a(kKabid, QStringLiteral("Kabid Dua"), QStringLiteral("Admin SKPD"));
        Tft_delegasi wz(a.ctx);
        QSignalSpy closed(&wz, &QDialog::finished);
        toSummary(wz, kPlt, QStringLiteral("U1B"));
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO delegasi (nip, induk_id, unit_id, date_start, created_by) "
                                          "VALUES ('" + kPlt + "', 'U1', 'U1A', NOW(), '" + kKepala + "')"));
        a.ctx.msgs.answers << true;
        QVERIFY(!wz.JvWizardInteriorPage4FinishButtonClick());
        QCOMPARE(a.ctx.msgs.texts(),
                 (QStringList{"Simpan Pendelegasian?", kGagalMenampilkan + "\rDelegasi PNS ini masih aktif."}));
        QCOMPARE(closed.count(), 0);
        QCOMPARE(wz.JvWizard1->currentPage(), 3);
        QCOMPARE(root("SELECT COUNT(*) FROM delegasi WHERE nip = '" + kPlt + "'"), QStringLiteral("1"));
    }

    // Going back to page 2 and choosing an official of another agency reruns
    // the unit search with that agency.
    void backAndAnotherOfficial()
    {
        Admin a(kKepala, QStringLiteral("Kepala Satu"), QStringLiteral("Admin System"));
        Tft_delegasi wz(a.ctx);
        next(wz);
        QCOMPARE(column(wz.sg_jf_list, 1), (QStringList{kCandidate, kPlt, kAnalis, kGuru}));
        pick(wz.sg_jf_list, 1, kAnalis);
        next(wz);
        QCOMPARE(column(wz.sg_unit_list, 1), (QStringList{"U1B", "U1A"}));
        wz.JvWizard1->backButton->click();
        QCOMPARE(wz.JvWizard1->currentPage(), 1);
        QCOMPARE(wz.lbJumlahData->text(), QStringLiteral("Jumlah data : 4"));
        // Calon Delapan's delegation is in force: take it as ended first.
        QVERIFY(testdb::rootExec(kSchema, "UPDATE delegasi SET date_end = CURDATE() - INTERVAL 1 DAY WHERE id = 3"));
        wz.btDelegasiJFTampilDataClick();
        pick(wz.sg_jf_list, 1, kCandidate);
        next(wz);
        QCOMPARE(wz.var_induk, QStringLiteral("U2"));
        QCOMPARE(column(wz.sg_unit_list, 1), QStringList{"U2A"});
        QCOMPARE(column(wz.sg_unit_list, 4), QStringList{"-"});
        QVERIFY(a.ctx.msgs.log.isEmpty());
    }

    // ---------------------------------------------------------------- main window

    void sideBarItemOpensThePage()
    {
        MainFixture f(kSchema, QDateTime(serverToday(), QTime(10, 11, 12)));
        f.login(kKabid);
        f.msgs.clear();
        f.w.dxAdminItems1Click();
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xDelegasi));
        // The agency comes from the login.
        QCOMPARE(column(f.w.xDelegasi->sg_delegasi, 2), (QStringList{kGuru, kAnalis}));
        QVERIFY(f.msgs.log.isEmpty());
    }
};

QTEST_MAIN(TestDelegationPages)
#include "test_delegation_pages.moc"
