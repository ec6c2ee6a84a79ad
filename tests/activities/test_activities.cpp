// The activity pages and dialogs as a user drives them, against the server.
#include "activities/aktivitaspage.h"
#include "activities/uaktivitas_info.h"
#include "activities/ut_aktivitas.h"
#include "activities/uu_aktivitas.h"
#include "shell/pageheader.h"
#include "ui/sidebar.h"
#include "app/umain.h"
#include "shell/wizardframe.h"
#include "ui/stringgrid.h"
#include "fakecontext.h"
#include "mainfixture.h"
#include "orgfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDateTimeEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_activities");
const QString kNotSelected = QString::fromUtf8(stdmsg::TidakAdaDipilih);

QString rootValue(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

// The server's today; the local clock of the fixture agrees with it.
QDate serverToday()
{
    return QDate::fromString(rootValue("SELECT CURDATE()"), Qt::ISODate);
}

struct UserAtWork : MainFixture {
    explicit UserAtWork(const QString& nip) : MainFixture(kSchema, QDateTime(serverToday(), QTime(10, 11, 12)))
    {
        login(nip);
        msgs.clear();
        page = w.xAktivitas;
    }

    // Opens the list and widens the range to the last 30 days.
    void openList()
    {
        w.dxTarvesaItems2Click();
        page->xAktivitasTanggalAwal->setDate(clock.today().addDays(-30));
        page->xAktivitasTampilDataClick();
    }

    int rowOf(const QString& id) const
    {
        for (int r = 1; r < page->sg_aktivitas->rowCount(); ++r)
            if (page->sg_aktivitas->cell(r, 0) == id)
                return r;
        return -1;
    }

    void select(const QString& id) { page->sg_aktivitas->setCurrentRow(rowOf(id)); }

    AktivitasPage* page;
};

// Page 1 to page 3, picking the first search result for the fragment.
bool toDetails(Tft_aktivitas& wz, int kind, const QString& fragment)
{
    // Page 1 searches for what the field holds: nothing here, so that only
    // the search Enter starts can give page 2 a row to pick.
    wz.edAktivitas->setText(QStringLiteral("tidak ada yang cocok"));
    wz.selectKind(kind);
    if (!wz.JvWizardInteriorPage1NextButtonClick())
        return false;
    wz.edAktivitas->setText(fragment);
    QTest::keyClick(wz.edAktivitas, Qt::Key_Return); // Enter searches too
    wz.sg_rincian_cari->setCurrentRow(1);
    return wz.JvWizardInteriorPage2NextButtonClick();
}

// A key as the user types it: to the widget that has the focus.
void type(QDialog& d, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &d, key, modifiers);
}

// Shows the dialog the way exec() would, so that focus and mouse work.
bool showActive(QDialog& d)
{
    d.show();
    d.activateWindow();
    return QTest::qWaitForWindowActive(&d);
}

const QString kDiscard = Tft_aktivitas::discardQuestion();
const QString kPickFirst = QStringLiteral("Pilih dulu nama aktivitasnya!");

} // namespace

class TestActivities : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("activities.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    void openingTheList()
    {
        UserAtWork s(kPelaksana);
        s.w.dxTarvesaItems2Click();
        const QDate today = s.clock.today();
        QCOMPARE(s.w.activePage(), static_cast<QWidget*>(s.page));
        QCOMPARE(s.page->header()->caption(), QStringLiteral("Aktivitas Harian PNS a.n. Pelaksana Empat"));
        QCOMPARE(s.page->xAktivitasTanggalAwal->date(), QDate(today.year(), today.month(), 1));
        QCOMPARE(s.page->xAktivitasTanggalAkhir->date(), today);
        QCOMPARE(QDate(s.w.session().Year, s.w.session().Month, s.w.session().Day), today);
        QVERIFY(s.page->info1->isVisible());
        QVERIFY(s.page->N1->isVisible());
        QVERIFY(s.page->N2->isVisible());
        QVERIFY(!s.page->Setujui1->isVisible());
        QVERIFY(!s.page->olak1->isVisible());
        const QString inMonth = rootValue("SELECT COUNT(*) FROM aktivitas WHERE nip = '" + kPelaksana +
                                          "' AND tanggal_aktivitas >= DATE_FORMAT(CURDATE(), '%Y-%m-01')");
        QCOMPARE(s.page->lbAktivitasJumlah->text(), "Jumlah aktivitas : " + inMonth);
        // The last column, hidden, holds the reasons of rejections.
        QCOMPARE(s.page->sg_aktivitas->colCount(), 14);
        QCOMPARE(s.page->sg_aktivitas->colWidth(13), 0);
        QVERIFY(s.msgs.log.isEmpty());

        // Choosing the item again while the page shows resets the dates only.
        s.page->xAktivitasTanggalAwal->setDate(today.addDays(-300));
        QVERIFY(testdb::rootExec(kSchema, "DELETE FROM aktivitas"));
        s.w.dxTarvesaItems2Click();
        QCOMPARE(s.page->xAktivitasTanggalAwal->date(), QDate(today.year(), today.month(), 1));
        QCOMPARE(s.page->lbAktivitasJumlah->text(), "Jumlah aktivitas : " + inMonth);
    }

    void listOnAContextWithoutMainWindow()
    {
        FakeContext ctx(kSchema, QDateTime(serverToday(), QTime(10, 11, 12)));
        ctx.actAs(kPelaksana, QStringLiteral("Pelaksana Empat"));
        AktivitasPage page(ctx);
        page.dxTarvesaItems2Click();
        QCOMPARE(ctx.activePage(), static_cast<QWidget*>(&page));
        QCOMPARE(page.header()->caption(), QStringLiteral("Aktivitas Harian PNS a.n. Pelaksana Empat"));
        const QString inMonth = rootValue("SELECT COUNT(*) FROM aktivitas WHERE nip = '" + kPelaksana +
                                          "' AND tanggal_aktivitas >= DATE_FORMAT(CURDATE(), '%Y-%m-01')");
        QVERIFY(inMonth.toInt() > 0);
        QCOMPARE(page.lbAktivitasJumlah->text(), "Jumlah aktivitas : " + inMonth);
        QCOMPARE(page.sg_aktivitas->rowCount(), inMonth.toInt() + 1);
        QVERIFY(ctx.msgs.log.isEmpty());
    }

    void failedProfileLoadActsForNobody()
    {
        // A first user logs in; a second login in the same run finds no
        // profile. Whatever the second user does next must not be stored or
        // logged under the first one.
        UserAtWork s(kKabid);
        const QString kabidLogins = rootValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE nip = '" + kKabid + "'");
        const QString before = rootValue("SELECT COUNT(*) FROM aktivitas");
        s.w.dxAplikasiItems0Click(); // logout
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_load_profil"));
        s.login(kPelaksana);
        QCOMPARE(s.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMengambil)});
        QCOMPARE(s.w.profileValue(2), QString());
        s.msgs.clear();

        s.openList();
        s.msgs.answers << true;
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            if (!toDetails(wz, 1, QStringLiteral("agenda")))
                return;
            wz.edProsesDeskripsi->setPlainText(QStringLiteral("Mengagendakan surat masuk dari dinas lain"));
            QVERIFY(!wz.JvWizardInteriorPage3FinishButtonClick());
        });
        s.page->SpeedButton2Click();
        // The list refuses to load for nobody, the save finds no superior
        // for an empty NIP; nothing reports success.
        const QString gagal = QString::fromUtf8(stdmsg::GagalMenampilkan);
        QCOMPARE(s.msgs.headlines(),
                 (QStringList{gagal, gagal, QStringLiteral("Data atasan tidak ditemukan, simpan data dibatalkan!"), gagal}));
        QCOMPARE(s.msgs.texts().value(2), QStringLiteral("Data atasan tidak ditemukan, simpan data dibatalkan!\r\r"
                                                         "Silahkan hubungi admin Tarvesa untuk konfirmasi data!"));
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas"), before);
        // One more row for the first user: the logout; none from the second login.
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE nip = '" + kKabid + "'").toInt(),
                 kabidLogins.toInt() + 1);
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE nip = ''"), QStringLiteral("0"));
    }

    void listShowsTheRows()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        StringGrid* g = s.page->sg_aktivitas;
        QCOMPARE(s.page->lbAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 5"));
        QCOMPARE(g->rowCount(), 6);
        const int r = s.rowOf(QStringLiteral("202"));
        QCOMPARE(g->cell(r, 2), QStringLiteral("Lainnya"));
        QCOMPARE(g->cell(r, 3), QStringLiteral("Mengikuti pelatihan teknis"));
        QCOMPARE(g->cell(r, 8), QStringLiteral("Ditolak Atasan"));
        QCOMPARE(g->cell(r, 9), s.clock.today().addDays(-1).toString(Qt::ISODate));
        QCOMPARE(g->cell(0, 12), QStringLiteral("Tgl. Validasi"));
        QCOMPARE(g->colWidth(0), 0);

        s.page->cbJJab1->setChecked(false);
        s.page->cbJJab2->setChecked(false);
        s.page->xAktivitasEdAktivitas->setText(QStringLiteral("' OR 1=1 -- "));
        s.page->xAktivitasTampilDataClick();
        QCOMPARE(g->rowCount(), 1);
        QCOMPARE(g->fixedRows(), 0);
        QCOMPARE(s.page->lbAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 0"));
        QVERIFY(s.msgs.log.isEmpty());
    }

    void filterLists_data()
    {
        QTest::addColumn<QList<bool>>("types");
        QTest::addColumn<QList<bool>>("statuses");
        QTest::addColumn<QString>("typeList");
        QTest::addColumn<QString>("statusList");
        QTest::newRow("all") << QList<bool>{true, true, true} << QList<bool>{true, true, true, true, true, true}
                             << "x,Utama,Tambahan,Lainnya"
                             << "x,accepted,rejected,0,accepted_by_system,accepted_by_spv,rejected_by_spv";
        QTest::newRow("none") << QList<bool>{false, false, false} << QList<bool>{false, false, false, false, false, false}
                              << "x" << "x";
        QTest::newRow("supervision approved only") << QList<bool>{false, false, true}
                                                   << QList<bool>{false, false, false, false, true, false}
                                                   << "x,Lainnya" << "x,accepted_by_spv";
        QTest::newRow("unverified and system") << QList<bool>{true, false, false}
                                               << QList<bool>{false, false, true, true, false, false} << "x,Utama"
                                               << "x,0,accepted_by_system";
    }

    void filterLists()
    {
        QFETCH(QList<bool>, types);
        QFETCH(QList<bool>, statuses);
        QFETCH(QString, typeList);
        QFETCH(QString, statusList);
        ScriptedMessages msgs;
        Tdm dm(testdb::appSettings(kSchema));
        Tfmain w(dm, Tfmain::Seams{&msgs, nullptr, nullptr, {}, {}});
        AktivitasPage* p = w.xAktivitas;
        const QList<QCheckBox*> t{p->cbJJab1, p->cbJJab2, p->cbJJab3};
        const QList<QCheckBox*> st{p->cbStat1, p->cbStat2, p->cbStat3, p->cbStat4, p->CheckBox21, p->CheckBox22};
        for (int i = 0; i < t.size(); ++i)
            t[i]->setChecked(types[i]);
        for (int i = 0; i < st.size(); ++i)
            st[i]->setChecked(statuses[i]);
        QCOMPARE(p->typeList(), typeList);
        QCOMPARE(p->statusList(), statusList);
    }

    void failedLoadKeepsTheCount()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_aktivitas_tampil_data"));
        s.page->xAktivitasTanggalAwal->setDate(s.clock.today().addDays(-300));
        s.page->Refresh1Click();
        QCOMPARE(s.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::GagalMenampilkan)});
        QCOMPARE(s.page->lbAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 5"));
    }

    void fullDayOpensNoWizard()
    {
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, deskripsi, "
                                          "bobot_skr, volume, satuan, tanggal_aktivitas, tanggal_input, nip_atasan1) "
                                          "VALUES ('" + kPelaksana + "', 'Utama', 3, 'penuh', 240, 2, 'Surat', "
                                          "CURDATE() + INTERVAL 7 HOUR, NOW(), '" + kKabid + "')"));
        UserAtWork s(kPelaksana);
        s.openList();
        s.page->SpeedButton2Click();
        QCOMPARE(s.msgs.texts(), QStringList{QStringLiteral("Anda telah mencapai limit waktu capaian pekerjaan normal, "
                                                            "input aktivitas tidak dapat dilanjutkan!")});
        QCOMPARE(s.msgs.lastKind(), Messages::Kind::Information);
        QVERIFY(s.dialogs.opened.isEmpty());
    }

    // The server refuses the insert (the day is fuller than the page knew):
    // the wizard stays on its last page with the typed description.
    void refusedInsertKeepsTheInput()
    {
        UserAtWork s(kAnalis);
        s.openList();
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, deskripsi, "
                                          "bobot_skr, volume, satuan, tanggal_aktivitas, tanggal_input, nip_atasan1) "
                                          "VALUES ('" + kAnalis + "', 'Utama', 3, 'lain', 240, 1, 'Surat', "
                                          "CURDATE() + INTERVAL 7 HOUR, NOW(), '" + kKabid + "')"));
        s.msgs.answers = {true};
        const QString text = QStringLiteral("Menyusun kajian jabatan fungsional");
        QString kept;
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QVERIFY(toDetails(wz, 1, QStringLiteral("jabatan")));
            wz.edProsesDeskripsi->setPlainText(text);
            wz.edProsesVolume->setText(QStringLiteral("2"));
            QVERIFY(!wz.JvWizardInteriorPage3FinishButtonClick());
            QCOMPARE(wz.JvWizard1->currentPage(), 2);
            kept = wz.edProsesDeskripsi->toPlainText();
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.dialogs.lastEnd(), DialogEnd::StillOpen);
        QCOMPARE(kept, text);
        QCOMPARE(s.msgs.texts().value(0), QStringLiteral("Simpan Aktivitas?"));
        QCOMPARE(s.msgs.texts().size(), 2); // the question, then why the server refused
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas WHERE nip = '" + kAnalis + "' AND deskripsi = '" + text +
                           "'"),
                 QStringLiteral("0"));
    }

    void kindsAndTheirSearch_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("refusal"); // start of the refusal, empty when allowed
        QTest::addColumn<QString>("subtitle");
        QTest::addColumn<QStringList>("tasks");
        const QString managerial = QStringLiteral("Aktivitas manajerial hanya diperuntukkan untuk :\r- Pejabat Struktural");
        const QString functional = QStringLiteral("Aktivitas fungsional/pelaksana hanya diperuntukkan untuk :");
        const QString additional = QStringLiteral("Aktivitas tambahan hanya diperuntukkan untuk :");
        QTest::newRow("structural, managerial") << kKabid << 0 << "" << "Pilih aktivitas manajerial"
                                                << QStringList{"Memimpin rapat koordinasi"};
        QTest::newRow("structural, functional") << kKabid << 1 << functional << "" << QStringList{};
        QTest::newRow("acting functional, managerial") << kPlt << 0 << "" << "Pilih aktivitas manajerial"
                                                       << QStringList{"Memimpin rapat koordinasi"};
        QTest::newRow("functional, managerial") << kAnalis << 0 << managerial << "" << QStringList{};
        QTest::newRow("functional, own") << kAnalis << 1 << "" << "Pilih aktivitas fungsional"
                                         << QStringList{"Menyusun analisis beban kerja", "Menyusun analisis jabatan"};
        QTest::newRow("without additional task") << kAnalis << 2 << additional << "" << QStringList{};
        QTest::newRow("with additional task") << kPelaksana << 2 << "" << "Pilih aktivitas tambahan"
                                              << QStringList{"Mengelola arsip aktif"};
        QTest::newRow("other, always") << kPelaksana << 3 << "" << "Pilih aktivitas lainnya"
                                       << QStringList{"Mengikuti apel pagi", "Mengikuti pelatihan teknis"};
    }

    void kindsAndTheirSearch()
    {
        QFETCH(QString, nip);
        QFETCH(int, kind);
        QFETCH(QString, refusal);
        QFETCH(QString, subtitle);
        QFETCH(QStringList, tasks);
        UserAtWork s(nip);
        s.openList();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QCOMPARE(wz.JvWizard1->currentPage(), 0);
            QCOMPARE(wz.JvWizard1->header->caption(), QStringLiteral("Tambah Aktivitas Harian"));
            wz.selectKind(kind);
            QCOMPARE(wz.JvWizardInteriorPage1NextButtonClick(), refusal.isEmpty());
            if (refusal.isEmpty()) {
                QCOMPARE(wz.JvWizard1->currentPage(), 1);
                QCOMPARE(wz.JvWizard1->subtitle(1), subtitle);
                QStringList found;
                for (int r = 1; r < wz.sg_rincian_cari->rowCount(); ++r)
                    found << wz.sg_rincian_cari->cell(r, 2);
                QCOMPARE(found, tasks);
                QCOMPARE(wz.lbJumlahData->text(), "Jumlah Data : " + QString::number(tasks.size()));
            } else {
                QCOMPARE(wz.JvWizard1->currentPage(), 0);
                QCOMPARE(s.msgs.log.size(), 1);
                QVERIFY(s.msgs.last().startsWith(refusal));
                QVERIFY(s.msgs.last().endsWith(QStringLiteral("\r\rSilahkan pilih jenis aktivitas lainnya!")));
                QCOMPARE(s.msgs.lastKind(), Messages::Kind::Information);
            }
            return;
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.dialogs.opened, QStringList{"Tft_aktivitas"});
    }

    void savingAnActivity_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("plain") << "Mengagendakan surat masuk dari dinas lain";
        QTest::newRow("quotes, breaks, emoji") << "Surat 'penting' dan \"rahasia\" \\ C:\\arsip\nbaris dua\nbaris 😀";
        QTest::newRow("2000 characters") << QString(2000, QChar(0x0101));
    }

    void savingAnActivity()
    {
        QFETCH(QString, description);
        UserAtWork s(kPelaksana);
        s.openList();
        s.msgs.answers << true;
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            if (!toDetails(wz, 1, QStringLiteral("agenda")))
                return;
            QCOMPARE(wz.edProsesNama->text(), QStringLiteral("Mengagendakan surat masuk"));
            QCOMPARE(wz.lbProsesSatuan->text(), QStringLiteral("Surat"));
            QCOMPARE(wz.edProsesVolume->text(), QStringLiteral("1"));
            QCOMPARE(wz.edProsesTanggal->dateTime(), s.clock.now());
            wz.edProsesDeskripsi->setPlainText(description);
            wz.edProsesVolume->setText(QStringLiteral("2"));
            QVERIFY(wz.JvWizardInteriorPage3FinishButtonClick());
            return;
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.msgs.texts(), (QStringList{"Simpan Aktivitas?", "Data berhasil disimpan!"}));
        const QList<QStringList> rows = testdb::rootQuery(
            kSchema, "SELECT kode_rincian, volume, jenis_jabatan, status, nip_atasan1, "
                     "DATE_FORMAT(tanggal_aktivitas, '%Y-%m-%d %H:%i:%s'), HEX(deskripsi) FROM aktivitas "
                     "WHERE id > 206");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].mid(0, 6), (QStringList{"3", "2", "Utama", "0", kKabid,
                                                 s.clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}));
        QCOMPARE(rows[0][6], QString::fromLatin1(description.toUtf8().toHex().toUpper()));
        // The list was reloaded and shows the description as typed.
        QCOMPARE(s.page->lbAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 6"));
        QCOMPARE(s.page->sg_aktivitas->cell(1, 4), description);
    }

    void saveChecks_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<int>("daysBack");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("saved");
        const QString ok = QStringLiteral("Dua puluh karakter!!");
        const QStringList yes{"Simpan Aktivitas?", "Data berhasil disimpan!"};
        const QString tooMuch = QStringLiteral(
            "Total SKR x Volume melebihi waktu wajar pekerjaan dalam satu hari (480 menit) !\r\rinput ditolak "
            "sistem!\r\rCatatan : tetap dizinkan dengan volume antara 0 sampai 1");
        const QString shortText = QStringLiteral(
            "Isikan deskripsi aktivitas dengan singkat dan jelas!\r\r* Minimal 20 Karakter/huruf.");
        QTest::newRow("20 characters") << kAnalis << 1 << "jabatan" << ok << "1" << 0 << QList<bool>{true} << yes
                                       << true;
        QTest::newRow("19 characters") << kAnalis << 1 << "jabatan" << ok.left(19) << "1" << 0 << QList<bool>{}
                                       << QStringList{shortText} << false;
        QTest::newRow("2 x 240") << kAnalis << 1 << "jabatan" << ok << "2" << 0 << QList<bool>{true} << yes << true;
        QTest::newRow("2 x 241") << kAnalis << 1 << "beban" << ok << "2" << 0 << QList<bool>{}
                                 << QStringList{tooMuch} << false;
        QTest::newRow("1 x 600") << kAnalis << 3 << "apel" << ok << "1" << 0 << QList<bool>{true} << yes << true;
        QTest::newRow("0 x 600") << kAnalis << 3 << "apel" << ok << "0" << 0 << QList<bool>{}
                                 << QStringList{"Volume minimal 1!"} << false;
        QTest::newRow("blanks only") << kAnalis << 1 << "jabatan" << QString(24, ' ') << "1" << 0 << QList<bool>{}
                                     << QStringList{shortText} << false;
        QTest::newRow("19 characters in blanks") << kAnalis << 1 << "jabatan" << "   " + ok.left(19) + "\n  " << "1"
                                                 << 0 << QList<bool>{} << QStringList{shortText} << false;
        QTest::newRow("no volume") << kAnalis << 1 << "jabatan" << ok << "" << 0 << QList<bool>{}
                                   << QStringList{"Volume harus diisi dengan angka!"} << false;
        QTest::newRow("five days back") << kAnalis << 1 << "jabatan" << ok << "1" << 5 << QList<bool>{true} << yes
                                        << true;
        QTest::newRow("answered no") << kAnalis << 1 << "jabatan" << ok << "1" << 0 << QList<bool>{false}
                                     << QStringList{"Simpan Aktivitas?"} << false;
    }

    void saveChecks()
    {
        QFETCH(QString, nip);
        QFETCH(int, kind);
        QFETCH(QString, fragment);
        QFETCH(QString, description);
        QFETCH(QString, volume);
        QFETCH(int, daysBack);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, saved);
        UserAtWork s(nip);
        s.openList();
        s.msgs.answers = answers;
        int page = -1;
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QVERIFY(toDetails(wz, kind, fragment));
            wz.edProsesDeskripsi->setPlainText(description);
            wz.edProsesVolume->setText(volume);
            wz.edProsesTanggal->setDate(s.clock.today().addDays(-daysBack));
            wz.JvWizardInteriorPage3FinishButtonClick();
            page = wz.JvWizard1->currentPage();
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.msgs.texts(), messages);
        // Saved: the wizard closed; refused: it waits on page 3 with the input.
        QCOMPARE(s.dialogs.lastEnd(), saved ? DialogEnd::Accepted : DialogEnd::StillOpen);
        QCOMPARE(page, 2);
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas WHERE id > 206"), saved ? "1" : "0");
    }

    void noSuperiorClosesTheWizard()
    {
        UserAtWork s(kKepala);
        s.openList();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QVERIFY(toDetails(wz, 0, QStringLiteral("rapat")));
            wz.edProsesDeskripsi->setPlainText(QStringLiteral("Memimpin rapat koordinasi pimpinan"));
            QVERIFY(!wz.JvWizardInteriorPage3FinishButtonClick());
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.dialogs.lastEnd(), DialogEnd::Rejected);
        QCOMPARE(s.msgs.texts(), QStringList{"Data atasan tidak ditemukan, simpan data dibatalkan!\r\r"
                                             "Silahkan hubungi admin Tarvesa untuk konfirmasi data!"});
        QCOMPARE(s.msgs.lastKind(), Messages::Kind::Error);
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas WHERE id > 206"), QStringLiteral("0"));
    }

    void goingBackResetsTheDetails()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            if (!toDetails(wz, 3, QString()))
                return;
            wz.edProsesDeskripsi->setPlainText(QStringLiteral("sudah diketik panjang sekali"));
            wz.edProsesVolume->setText(QStringLiteral("5"));
            wz.edProsesTanggal->setDate(s.clock.today().addDays(-2));
            wz.JvWizard1->backButton->click();
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            wz.sg_rincian_cari->setCurrentRow(2);
            wz.JvWizard1->nextButton->click();
            QCOMPARE(wz.JvWizard1->currentPage(), 2);
            QCOMPARE(wz.edProsesNama->text(), QStringLiteral("Mengikuti pelatihan teknis"));
            QCOMPARE(wz.skr_aktivitas_terpilih, QStringLiteral("400"));
            QCOMPARE(wz.edProsesDeskripsi->toPlainText(), QString());
            QCOMPARE(wz.edProsesVolume->text(), QStringLiteral("1"));
            QCOMPARE(wz.edProsesTanggal->dateTime(), s.clock.now());
            return;
        });
        s.page->SpeedButton2Click();
        QVERIFY(s.msgs.log.isEmpty());
    }

    void emptySearchCannotGoOn()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            wz.edAktivitas->setText(QStringLiteral("tidak ada yang cocok"));
            wz.selectKind(3);
            QVERIFY(wz.JvWizardInteriorPage1NextButtonClick());
            QCOMPARE(wz.sg_rincian_cari->rowCount(), 1);
            QVERIFY(!wz.JvWizardInteriorPage2NextButtonClick());
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            return;
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.msgs.texts(), QStringList{"Pilih dulu nama aktivitasnya!"});
    }

    void actionsNeedADataRow()
    {
        UserAtWork s(kPelaksana);
        s.w.dxTarvesaItems2Click();
        s.page->xAktivitasTanggalAwal->setDate(s.clock.today().addDays(-400));
        s.page->xAktivitasTanggalAkhir->setDate(s.clock.today().addDays(-399));
        s.page->xAktivitasTampilDataClick();
        QCOMPARE(s.page->sg_aktivitas->rowCount(), 1);
        s.page->SpeedButton21Click();
        s.page->SpeedButton3Click();
        s.page->xAktivitasInfoClick();
        QCOMPARE(s.msgs.texts(), (QStringList{kNotSelected, kNotSelected, "Tidak ada aktivitas yang dipilih!"}));
        QCOMPARE(s.msgs.lastKind(), Messages::Kind::Information);
        QVERIFY(s.dialogs.opened.isEmpty());
    }

    void changeRefusals_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("deleteFirst");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("remove");
        QTest::newRow("rejected") << "202" << false << "Aktivitas terpilih tidak bisa diubah karena sudah diverifikasi!"
                                  << "Data aktivitas harian yang sudah diverifikasi tidak bisa dihapus!\r\rSilahkan "
                                     "dikoordinasikan dengan atasan langsung.";
        QTest::newRow("deleted meanwhile") << "201" << true << "Aktivitas terpilih tidak tersedia di database kinerja."
                                           << "Data aktivitas harian yang sudah diverifikasi tidak bisa dihapus!\r\r"
                                              "Silahkan dikoordinasikan dengan atasan langsung.";
        QTest::newRow("outside the window")
            << "204" << false
            << "Gagal mengubah aktivitas terpilih !\r\rAlasan :\rSelisih tgl input aktivitas dengan saat ini 10 "
               "hari,\rSelisih tgl diperbolehkan ubah aktivitas 5 hari."
            << "Gagal menghapus aktivitas terpilih !\r\rAlasan :\rSelisih tgl input aktivitas dengan saat ini 10 "
               "hari,\rSelisih tgl diperbolehkan hapus aktivitas 5 hari.";
    }

    void changeRefusals()
    {
        QFETCH(QString, id);
        QFETCH(bool, deleteFirst);
        QFETCH(QString, change);
        QFETCH(QString, remove);
        UserAtWork s(kPelaksana);
        s.openList();
        s.select(id);
        if (deleteFirst)
            QVERIFY(testdb::rootExec(kSchema, "DELETE FROM aktivitas WHERE id = " + id));
        s.page->SpeedButton21Click();
        s.page->SpeedButton3Click();
        QCOMPARE(s.msgs.texts(), (QStringList{change, remove}));
        QVERIFY(s.dialogs.opened.isEmpty());
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas"), deleteFirst ? "5" : "6");
    }

    void changingAnActivity()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.select(QStringLiteral("201"));
        const QString text = QStringLiteral("Baris 'satu'\nbaris \"dua\" 😀 \\");
        s.msgs.answers << false << true;
        s.dialogs.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfu_aktivitas&>(d);
            QCOMPARE(dlg.fu_aktivitasJudul->caption(), QStringLiteral("Ubah aktivitas"));
            QCOMPARE(dlg.kode_aktivitas, QStringLiteral("201"));
            QCOMPARE(dlg.fuAktivitasAktivitas->toPlainText(), QStringLiteral("Mengagendakan surat masuk"));
            QCOMPARE(dlg.fuAktivitasDeskripsi->toPlainText(), QStringLiteral("Mengagendakan surat masuk pagi"));
            QCOMPARE(dlg.fuAktivitasVolume->text(), QStringLiteral("2"));
            QCOMPARE(dlg.fuAktivitasSatuan->text(), QStringLiteral("Surat"));
            dlg.fuAktivitasDeskripsi->setPlainText(QString());
            QVERIFY(!dlg.btSimpanClick());
            dlg.fuAktivitasDeskripsi->setPlainText(QStringLiteral("   \n    "));
            QVERIFY(!dlg.btSimpanClick());
            dlg.fuAktivitasDeskripsi->setPlainText(QStringLiteral("  Terlalu pendek  "));
            QVERIFY(!dlg.btSimpanClick());
            dlg.fuAktivitasDeskripsi->setPlainText(text);
            dlg.fuAktivitasVolume->clear();
            QVERIFY(!dlg.btSimpanClick());
            QCOMPARE(dlg.fuAktivitasVolume->text(), QStringLiteral("0"));
            QVERIFY(!dlg.btSimpanClick()); // no volume
            dlg.fuAktivitasVolume->setText(QStringLiteral("49")); // 490 minutes
            QVERIFY(!dlg.btSimpanClick());
            dlg.fuAktivitasVolume->setText(QStringLiteral("1"));
            QVERIFY(!dlg.btSimpanClick()); // answered No: stays open, nothing saved
            QCOMPARE(s.dialogs.state(), DialogEnd::StillOpen);
            QVERIFY(dlg.btSimpanClick());
        });
        s.page->SpeedButton21Click();
        QCOMPARE(s.dialogs.lastEnd(), DialogEnd::Accepted);
        QCOMPARE(s.msgs.texts(),
                 (QStringList{"Kolom deskripsi tidak boleh kosong!", "Kolom deskripsi tidak boleh kosong!",
                              "Isikan deskripsi aktivitas dengan singkat dan jelas!\r\r* Minimal 20 Karakter/huruf.",
                              "Kolom volume tidak boleh kosong!", "Volume minimal 1!",
                              "Total SKR x Volume melebihi waktu wajar pekerjaan dalam satu hari (480 menit) !\r\r"
                              "input ditolak sistem!\r\rCatatan : tetap dizinkan dengan volume antara 0 sampai 1",
                              "Simpan perubahan data aktivitas?", "Simpan perubahan data aktivitas?",
                              "Data berhasil disimpan!"}));
        QCOMPARE(rootValue("SELECT CONCAT(volume, '|', HEX(deskripsi)) FROM aktivitas WHERE id = 201"),
                 "1|" + QString::fromLatin1(text.toUtf8().toHex().toUpper()));
        QCOMPARE(s.page->sg_aktivitas->cell(s.rowOf(QStringLiteral("201")), 4), text); // reloaded
    }

    void deletingAnActivity()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.select(QStringLiteral("205"));
        s.msgs.answers << false;
        s.page->SpeedButton3Click();
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas WHERE id = 205"), QStringLiteral("1"));
        s.msgs.answers << true;
        s.page->SpeedButton3Click();
        QCOMPARE(s.msgs.texts(), (QStringList{"Hapus aktivitas terpilih?", "Hapus aktivitas terpilih?",
                                              "Data berhasil dihapus!"}));
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas WHERE id = 205"), QStringLiteral("0"));
        QCOMPARE(s.page->lbAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 4"));
        QCOMPARE(s.rowOf(QStringLiteral("205")), -1);
    }

    void maintenanceRefusesTheDeletion()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.select(QStringLiteral("201"));
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'is_maintenance'"));
        s.msgs.answers << true;
        s.page->SpeedButton3Click();
        QCOMPARE(s.msgs.texts(), (QStringList{"Hapus aktivitas terpilih?", QString::fromUtf8(stdmsg::GagalMenampilkan) +
                                                                                "\rSistem sedang maintenance."}));
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas WHERE id = 201"), QStringLiteral("1"));
    }

    void windowShrunkMeanwhileIsStillRefused()
    {
        // The picker offers what the window allowed when page 3 opened; the
        // server's check on saving has the last word.
        UserAtWork s(kAnalis);
        s.openList();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            if (!toDetails(wz, 1, QStringLiteral("jabatan")))
                return;
            wz.edProsesDeskripsi->setPlainText(QStringLiteral("Dua puluh karakter!!"));
            wz.edProsesTanggal->setDate(s.clock.today().addDays(-5));
            QCOMPARE(wz.edProsesTanggal->date(), s.clock.today().addDays(-5));
            QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '4' "
                                              "WHERE nama = 'aktivitas_input_day_max'"));
            QSignalSpy finished(&d, &QDialog::finished);
            QVERIFY(!wz.JvWizardInteriorPage3FinishButtonClick());
            QCOMPARE(finished.count(), 0);
            QCOMPARE(wz.JvWizard1->currentPage(), 2);
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.msgs.texts(),
                 QStringList{"Gagal melakukan input aktivitas !\r\rAlasan :\rSelisih tgl input aktivitas dengan saat "
                             "ini 5 hari,\rSelisih tgl diperbolehkan untuk input 4 hari."});
        QCOMPARE(s.msgs.lastKind(), Messages::Kind::Warning);
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas WHERE id > 206"), QStringLiteral("0"));
    }

    void pickerOffersTheInputWindow_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("days");
        QTest::newRow("five days") << "5" << 5;
        QTest::newRow("one day") << "1" << 1;
        QTest::newRow("today only") << "0" << 0;
    }

    void pickerOffersTheInputWindow()
    {
        QFETCH(QString, setting);
        QFETCH(int, days);
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '" + setting +
                                              "' WHERE nama = 'aktivitas_input_day_max'"));
        UserAtWork s(kPelaksana);
        s.openList();
        const QDate today = s.clock.today();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            if (!toDetails(wz, 3, QString()))
                return;
            QCOMPARE(wz.edProsesTanggal->minimumDate(), today.addDays(-days));
            QCOMPARE(wz.edProsesTanggal->maximumDate(), today);
            // Tomorrow and the day before the window are not offered.
            wz.edProsesTanggal->setDate(today.addDays(1));
            QCOMPARE(wz.edProsesTanggal->date(), today);
            wz.edProsesTanggal->setDate(today.addDays(-days - 1));
            QCOMPARE(wz.edProsesTanggal->date(), today.addDays(-days));
            // The arrow key stops at today as well.
            wz.edProsesTanggal->setDate(today);
            wz.edProsesTanggal->setCurrentSection(QDateTimeEdit::DaySection);
            QTest::keyClick(wz.edProsesTanggal, Qt::Key_Up);
            QCOMPARE(wz.edProsesTanggal->date(), today);
        });
        s.page->SpeedButton2Click();
        QVERIFY(s.msgs.log.isEmpty());
    }

    void closingAsksBeforeDiscarding_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("closed");
        const QString typed = QStringLiteral("Sudah diketik dan belum disimpan");
        QTest::newRow("Esc, nothing typed") << "esc" << "" << QList<bool>{} << true;
        QTest::newRow("Esc, only blanks") << "esc" << "   \n " << QList<bool>{} << true;
        QTest::newRow("Esc, typed, kept") << "esc" << typed << QList<bool>{false} << false;
        QTest::newRow("Esc, typed, discarded") << "esc" << typed << QList<bool>{true} << true;
        QTest::newRow("close button, typed, kept") << "close" << typed << QList<bool>{false} << false;
        QTest::newRow("close button, typed, discarded") << "close" << typed << QList<bool>{true} << true;
        QTest::newRow("Batal, typed, kept") << "batal" << typed << QList<bool>{false} << false;
    }

    void closingAsksBeforeDiscarding()
    {
        QFETCH(QString, how);
        QFETCH(QString, description);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, closed);
        UserAtWork s(kPelaksana);
        s.openList();
        const QString before = rootValue("SELECT COUNT(*) FROM aktivitas");
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QVERIFY(showActive(d));
            if (!toDetails(wz, 3, QString()))
                return;
            wz.edProsesDeskripsi->setPlainText(description);
            s.msgs.clear();
            s.msgs.answers = answers;
            QSignalSpy finished(&d, &QDialog::finished);
            if (how == QLatin1String("esc"))
                QTest::keyClick(wz.edProsesDeskripsi, Qt::Key_Escape);
            else if (how == QLatin1String("close"))
                d.close();
            else
                wz.JvWizard1->cancelButton->click();
            QCOMPARE(s.msgs.texts(), answers.isEmpty() ? QStringList{} : QStringList{kDiscard});
            QCOMPARE(finished.count(), closed ? 1 : 0);
            QCOMPARE(d.isVisible(), !closed);
            if (closed) {
                QCOMPARE(finished.first().first().toInt(), int(QDialog::Rejected));
                return;
            }
            QCOMPARE(wz.JvWizard1->currentPage(), 2);
            QCOMPARE(wz.edProsesDeskripsi->toPlainText(), description);
            d.hide();
        });
        s.page->SpeedButton2Click();
        QCOMPARE(rootValue("SELECT COUNT(*) FROM aktivitas"), before);
    }

    void keyboardOnlyRecordsAnActivity()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QVERIFY(showActive(d));
            // An executor starts on the first kind open to him, not on
            // "Manajerial", which would be refused.
            QCOMPARE(wz.selectedKind(), int(Tft_aktivitas::FungsionalPelaksana));
            QCOMPARE(QApplication::focusWidget(), wz.jenisGroup->checkedButton());
            type(d, Qt::Key_Return);
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(wz.edAktivitas));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("agenda"));
            type(d, Qt::Key_Return); // searches, stays
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            QCOMPARE(wz.lbJumlahData->text(), QStringLiteral("Jumlah Data : 1"));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(wz.edAktivitas));
            type(d, Qt::Key_Return); // nothing picked yet
            QCOMPARE(s.msgs.texts(), QStringList{kPickFirst});
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            type(d, Qt::Key_Down); // picks the first row, from the field
            QCOMPARE(wz.pickedRow(), 1);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(wz.edAktivitas));
            type(d, Qt::Key_Return);
            QCOMPARE(wz.JvWizard1->currentPage(), 2);
            QCOMPARE(wz.edProsesNama->text(), QStringLiteral("Mengagendakan surat masuk"));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(wz.edProsesDeskripsi));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Mengagendakan surat"));
            type(d, Qt::Key_Return, Qt::ShiftModifier); // a line break, no moving on
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("masuk pagi"));
            type(d, Qt::Key_Return);
            QVERIFY(wz.edProsesTanggal->hasFocus());
            type(d, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(wz.edProsesVolume));
            QTest::keyClick(wz.edProsesVolume, Qt::Key_Backspace);
            QTest::keyClicks(wz.edProsesVolume, QStringLiteral("3"));
            s.msgs.answers << true;
            type(d, Qt::Key_Return); // saves
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.msgs.texts(), (QStringList{kPickFirst, "Simpan Aktivitas?", "Data berhasil disimpan!"}));
        QCOMPARE(testdb::rootQuery(kSchema, "SELECT kode_rincian, volume, jenis_jabatan, deskripsi FROM aktivitas "
                                            "WHERE id > 206"),
                 (QList<QStringList>{{"3", "3", "Utama", "Mengagendakan surat\nmasuk pagi"}}));
    }

    void doubleClickPicksAndNothingIsPreselected()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QVERIFY(showActive(d));
            wz.selectKind(Tft_aktivitas::Lainnya);
            QVERIFY(wz.JvWizardInteriorPage1NextButtonClick());
            StringGrid* g = wz.sg_rincian_cari;
            QCOMPARE(g->rowCount(), 3);
            QCOMPARE(wz.pickedRow(), -1);
            // Next pressed too early records nothing and says why.
            wz.JvWizard1->nextButton->click();
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            QCOMPARE(s.msgs.texts(), QStringList{kPickFirst});
            // A new search picks nothing either.
            g->setCurrentRow(2);
            wz.btAktivitasTampilData->click();
            QCOMPARE(wz.pickedRow(), -1);
            // A double-click on the second task picks it and moves on.
            const QRect second = g->visualRect(g->model()->index(2 - g->fixedRows(), 2));
            QVERIFY(second.isValid());
            // A widget double-click arrives as a press, then the double-click
            // event; the test helper sends only the latter.
            QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
            QTest::mouseDClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
            QCOMPARE(wz.JvWizard1->currentPage(), 2);
            QCOMPARE(wz.edProsesNama->text(), QStringLiteral("Mengikuti pelatihan teknis"));
            QCOMPARE(wz.kode_aktivitas_terpilih, QStringLiteral("2"));
            d.hide();
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.msgs.texts(), QStringList{kPickFirst});
    }

    // The arrows walk the whole list from the search field; a wizard that
    // opens on the last task still takes typing in the search field.
    void arrowsWalkTheTasksAndTypingSearches()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QVERIFY(showActive(d));
            wz.selectKind(Tft_aktivitas::Lainnya);
            type(d, Qt::Key_Return);
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            QCOMPARE(wz.sg_rincian_cari->rowCount(), 3);
            type(d, Qt::Key_Down);
            type(d, Qt::Key_Down);
            QCOMPARE(wz.pickedRow(), 2);
            type(d, Qt::Key_Up);
            QCOMPARE(wz.pickedRow(), 1);
            type(d, Qt::Key_Down);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(wz.edAktivitas));
            type(d, Qt::Key_Return);
            QCOMPARE(wz.JvWizard1->currentPage(), 2);
            QCOMPARE(wz.edProsesNama->text(), QStringLiteral("Mengikuti pelatihan teknis"));
            wz.edProsesDeskripsi->setPlainText(QStringLiteral("Mengikuti pelatihan teknis arsip"));
            s.msgs.answers << true;
            QVERIFY(wz.JvWizardInteriorPage3FinishButtonClick());
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.msgs.texts(), (QStringList{"Simpan Aktivitas?", "Data berhasil disimpan!"}));

        s.msgs.clear();
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            QVERIFY(showActive(d));
            type(d, Qt::Key_Return); // the kind of the last save
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            QCOMPARE(wz.sg_rincian_cari->cell(wz.pickedRow(), 2), QStringLiteral("Mengikuti pelatihan teknis"));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(wz.edAktivitas));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("apel"));
            type(d, Qt::Key_Return); // a new text searches rather than moving on
            QCOMPARE(wz.JvWizard1->currentPage(), 1);
            QCOMPARE(wz.edAktivitas->text(), QStringLiteral("apel"));
            QCOMPARE(wz.lbJumlahData->text(), QStringLiteral("Jumlah Data : 1"));
            QCOMPARE(wz.pickedRow(), -1);
            d.hide();
        });
        s.page->SpeedButton2Click();
        QVERIFY(s.msgs.log.isEmpty());
    }

    void kindAndTaskAreRememberedUntilLogout()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        // Which kind each wizard starts on and which row is picked on page 2.
        int kind = -1;
        QString picked;
        const auto look = [&](bool save) {
            s.dialogs.expect([&, save](QDialog& d) {
                auto& wz = static_cast<Tft_aktivitas&>(d);
                kind = wz.selectedKind();
                if (!save) {
                    QVERIFY(wz.JvWizardInteriorPage1NextButtonClick());
                    picked = wz.pickedRow() < 0 ? QString() : wz.sg_rincian_cari->cell(wz.pickedRow(), 2);
                    return;
                }
                wz.selectKind(Tft_aktivitas::Lainnya);
                QVERIFY(wz.JvWizardInteriorPage1NextButtonClick());
                wz.sg_rincian_cari->setCurrentRow(2);
                QVERIFY(wz.JvWizardInteriorPage2NextButtonClick());
                wz.edProsesDeskripsi->setPlainText(QStringLiteral("Mengikuti pelatihan teknis arsip"));
                QVERIFY(wz.JvWizardInteriorPage3FinishButtonClick());
            });
            s.page->SpeedButton2Click();
        };
        look(false);
        QCOMPARE(kind, int(Tft_aktivitas::FungsionalPelaksana));
        QCOMPARE(picked, QString());
        s.msgs.answers << true;
        look(true);
        QCOMPARE(s.msgs.texts(), (QStringList{"Simpan Aktivitas?", "Data berhasil disimpan!"}));
        look(false);
        QCOMPARE(kind, int(Tft_aktivitas::Lainnya));
        QCOMPARE(picked, QStringLiteral("Mengikuti pelatihan teknis"));

        s.w.dxAplikasiItems0Click(); // logout
        s.login(kPelaksana);
        s.openList();
        look(false);
        QCOMPARE(kind, int(Tft_aktivitas::FungsionalPelaksana));
        QCOMPARE(picked, QString());
    }

    void dayTotalInSight()
    {
        // Today: 300 recognised minutes (400 counts 300); yesterday 30 (the
        // rejected 400 does not count); two days back 20.
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO aktivitas (nip, jenis_jabatan, kode_rincian, deskripsi, "
                                          "bobot_skr, volume, satuan, tanggal_aktivitas, tanggal_input, nip_atasan1) "
                                          "VALUES ('" + kPelaksana + "', 'Lainnya', 2, 'pelatihan', 400, 1, "
                                          "'Kegiatan', CURDATE() + INTERVAL 7 HOUR, NOW(), '" + kKabid + "')"));
        UserAtWork s(kPelaksana);
        s.openList();
        const QDate today = s.clock.today();
        QCOMPARE(s.page->xAktivitasTanggalMenit->date(), today);
        QCOMPARE(s.page->lbAktivitasMenit->text(), QStringLiteral(": 300 / 480"));
        s.page->xAktivitasTanggalMenit->setDate(today.addDays(-1));
        QCOMPARE(s.page->lbAktivitasMenit->text(), QStringLiteral(": 30 / 480"));
        s.page->xAktivitasTanggalMenit->setDate(today.addDays(-2));
        QCOMPARE(s.page->lbAktivitasMenit->text(), QStringLiteral(": 20 / 480"));

        // A change and a deletion show at once.
        s.select(QStringLiteral("201"));
        s.msgs.answers << true;
        s.dialogs.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfu_aktivitas&>(d);
            dlg.fuAktivitasVolume->setText(QStringLiteral("5"));
            QVERIFY(dlg.btSimpanClick());
        });
        s.page->SpeedButton21Click();
        QCOMPARE(s.page->lbAktivitasMenit->text(), QStringLiteral(": 50 / 480"));
        s.select(QStringLiteral("201"));
        s.msgs.answers << true;
        s.page->SpeedButton3Click();
        QCOMPARE(s.page->lbAktivitasMenit->text(), QStringLiteral(": 0 / 480"));

        // The wizard shows the chosen day and follows it; a save shows on
        // the page.
        s.page->xAktivitasTanggalMenit->setDate(today.addDays(-1));
        s.msgs.answers << true;
        s.dialogs.expect([&](QDialog& d) {
            auto& wz = static_cast<Tft_aktivitas&>(d);
            if (!toDetails(wz, 1, QStringLiteral("agenda")))
                return;
            QCOMPARE(wz.lbMenitTercatat->text(), QStringLiteral("Menit tercatat pada tanggal ini: 300 / 480"));
            wz.edProsesTanggal->setDate(today.addDays(-1));
            QCOMPARE(wz.lbMenitTercatat->text(), QStringLiteral("Menit tercatat pada tanggal ini: 30 / 480"));
            wz.edProsesDeskripsi->setPlainText(QStringLiteral("Mengagendakan surat masuk kemarin"));
            wz.edProsesVolume->setText(QStringLiteral("4"));
            QVERIFY(wz.JvWizardInteriorPage3FinishButtonClick());
        });
        s.page->SpeedButton2Click();
        QCOMPARE(s.page->lbAktivitasMenit->text(), QStringLiteral(": 70 / 480"));

        // A full day stands out; a server that cannot answer leaves the
        // figure unknown without a message box.
        QVERIFY(testdb::rootExec(kSchema, "UPDATE aktivitas SET volume = 45 WHERE id > 206"));
        s.page->refreshDayMinutes();
        QCOMPARE(s.page->lbAktivitasMenit->text(), QStringLiteral(": 480 / 480"));
        QVERIFY(s.page->lbAktivitasMenit->styleSheet().contains(QStringLiteral("color")));
        s.msgs.clear();
        QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE kinerja_aktivitas_menit_hari"));
        s.page->xAktivitasTanggalMenit->setDate(today);
        QCOMPARE(s.page->lbAktivitasMenit->text(), QStringLiteral(": - / 480"));
        QVERIFY(s.page->lbAktivitasMenit->styleSheet().isEmpty());
        QVERIFY(s.msgs.log.isEmpty());
    }

    void detailsShowTheListCells()
    {
        UserAtWork s(kPelaksana);
        s.openList();
        s.select(QStringLiteral("202"));
        const int r = s.rowOf(QStringLiteral("202"));
        StringGrid* g = s.page->sg_aktivitas;
        s.dialogs.expect([&](QDialog& d) {
            auto& info = static_cast<Tfaktivitas_info&>(d);
            QCOMPARE(info.fu_aktivitasJudul->caption(), QStringLiteral("Info Aktivitas"));
            QCOMPARE(info.fAktAktivitas->toPlainText(), g->cell(r, 3));
            QCOMPARE(info.fAktDeskripsi->toPlainText(), g->cell(r, 4));
            QCOMPARE(info.fAktVolume->text(), g->cell(r, 5));
            QCOMPARE(info.fAktSatuan->text(), g->cell(r, 6));
            QCOMPARE(info.fAktTglAktivitas->text(), g->cell(r, 9));
            QCOMPARE(info.fAktTglinput->text(), g->cell(r, 10));
            QCOMPARE(info.fAktTglVerifikasi->text(), g->cell(r, 11));
            QCOMPARE(info.fAktTglValidasi->text(), QString());
            QVERIFY(!info.fAktTglVerifikasi->text().isEmpty());
            info.btSimpan->click();
            return;
        });
        s.page->info1Click();
        QCOMPARE(s.dialogs.opened, QStringList{"Tfaktivitas_info"});
        QVERIFY(s.msgs.log.isEmpty());

        // A double-click on another row (the grid makes it the current
        // one) opens its details.
        const int other = s.rowOf(QStringLiteral("201"));
        s.select(QStringLiteral("201"));
        QString shown;
        s.dialogs.expect([&](QDialog& d) { shown = static_cast<Tfaktivitas_info&>(d).fAktDeskripsi->toPlainText(); });
        emit g->rowDoubleClicked(other);
        QCOMPARE(s.dialogs.opened.size(), 2);
        QCOMPARE(shown, g->cell(other, 4));
    }
};

QTEST_MAIN(TestActivities)
#include "test_activities.moc"
