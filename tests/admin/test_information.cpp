// Announcements: the server's rules for reading and changing them, the
// reading pages before and after login, and the administrators' page as an
// administrator uses it.
#include "admin/adminformasipage.h"
#include "admin/infopage.h"
#include "admin/ue_informasi.h"
#include "shell/pageheader.h"
#include "caller.h"
#include "fakecontext.h"
#include "orgfixture.h"
#include "ui/stringgrid.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

Q_DECLARE_METATYPE(InfoPage::List)
Q_DECLARE_METATYPE(db::Params)

namespace {

const QString kSchema = QStringLiteral("t_information");
const QString kGagalMenampilkan = QString::fromUtf8(stdmsg::GagalMenampilkan);
const QString kGagalMenyimpan = QString::fromUtf8(stdmsg::GagalMenyimpan);
const QString kLong = QStringLiteral("Pengumuman panjang: ") + QStringLiteral("kata demi kata ").repeated(40);

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QStringList as(const QString& nip, const QString& sql, const db::Params& params = {})
{
    Caller c(kSchema, nip);
    return c.call(sql, params);
}

// Announcements of both lists: order numbers, dates and one unpublished.
bool seed()
{
    return testdb::rootExec(
        kSchema,
        "INSERT INTO informasi (id, aplikasi, pengumuman, tanggal, aktif, urutan) VALUES "
        "(1, 'tarvesa', 'Kedua menurut urutan', '2024-01-05 08:00:00', 1, 2), "
        "(2, 'tarvesa', 'Pertama, yang lebih baru', '2024-01-04 08:00:00', 1, 1), "
        "(3, 'tarvesa', 'Pertama, yang lebih lama', '2024-01-03 08:00:00', 1, 1), "
        "(4, 'tarvesa', 'Ditarik dan tidak tampil', '2024-01-06 08:00:00', 0, 1), "
        "(5, 'tpp', 'Diskon 50% untuk kode A_B', '2024-01-02 08:00:00', 1, 1), "
        "(6, 'tpp', 'Kode AxB berlaku 50 hari', '2024-01-01 08:00:00', 1, 2), "
        "(7, 'tpp', '" + kLong + "', '2024-01-01 07:00:00', 1, 3);");
}

// The cells of a column below the captions.
QStringList column(const StringGrid* g, int col)
{
    QStringList out;
    for (int r = 1; r < g->rowCount(); ++r)
        out << g->cell(r, col);
    return out;
}

QString logRows()
{
    return root("SELECT COALESCE(GROUP_CONCAT(CONCAT(nip, '|', aksi, '|', keterangan) ORDER BY id SEPARATOR '#'), '') "
                "FROM kinerja_log_proses WHERE aksi LIKE 'Informasi%'");
}

QString state()
{
    return root("SELECT COALESCE(GROUP_CONCAT(CONCAT(id, aplikasi, aktif, urutan, pengumuman) ORDER BY id), '') "
                "FROM informasi") +
           "#" + logRows();
}

// An administrator's page on a fake context, logged in on the server.
struct Admin {
    explicit Admin(const QString& nip = kKepala) : ctx(kSchema), page(ctx)
    {
        QVERIFY(ctx.actAs(nip, QStringLiteral("Kepala Satu"), QStringLiteral("Admin System")));
    }
    // Queues a script for the next dialog: fills it and presses "Simpan".
    void expectSave(const QString& text, int urutan, bool* accepted = nullptr)
    {
        ctx.dialogRunner.expect([=](QDialog& d) {
            auto& dlg = static_cast<Tfe_informasi&>(d);
            dlg.edPengumuman->setPlainText(text);
            dlg.edUrutan->setValue(urutan);
            const bool ok = dlg.btSimpanClick();
            if (accepted)
                *accepted = ok;
        });
    }
    FakeContext ctx;
    AdmInformasiPage page;
};

} // namespace

class TestInformation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql")}));
        QVERIFY(testdb::rootExec(kSchema, "DELETE FROM informasi; DELETE FROM kinerja_log_proses; "
                                          "UPDATE kinerja_user SET level = '5' WHERE nip = '" + kKepala + "';"));
        QVERIFY(seed());
        QVERIFY(testdb::keepClean(kSchema));
    }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    // ---- server rules -------------------------------------------------

    void readingListsAreForEverybody_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::newRow("anonymous") << QString();
        QTest::newRow("basic user") << kPelaksana;
        QTest::newRow("admin system") << kKepala;
    }

    void readingListsAreForEverybody()
    {
        QFETCH(QString, nip);
        Caller c(kSchema, nip);
        QStringList texts;
        for (const QString& row : c.call("CALL kinerja_informasi()"))
            texts << row.section('|', 1, 1);
        // by order number, the newer first among equals; unpublished left out
        QCOMPARE(texts, (QStringList{"Pertama, yang lebih baru", "Pertama, yang lebih lama", "Kedua menurut urutan"}));
        QCOMPARE(c.call("CALL tpp_informasi()").size(), 3);
    }

    // Only "Admin System" lists for administration and changes; nothing of
    // a refused call is stored or logged.
    void onlyAdminSystemChanges_data() { adminSystemOnlyRows(); }

    void onlyAdminSystemChanges()
    {
        QFETCH(QString, nip);
        QFETCH(bool, allowed);
        Caller c(kSchema, nip);
        const QString before = state();
        const QStringList list = c.call("CALL kinerja_informasi_cari('tpp', '')");
        const QStringList added =
            c.call("CALL kinerja_informasi_tambah('tarvesa', 'Pengumuman baru', '4')");
        const QStringList changed = c.call("CALL kinerja_informasi_ubah('2', 'Teks diubah', '1')");
        const QStringList deleted = c.call("CALL kinerja_informasi_hapus('3')");
        if (!allowed) {
            for (const QStringList& answer : {list, added, changed, deleted})
                QCOMPARE(answer, kRefused);
            QCOMPARE(state(), before);
            return;
        }
        QCOMPARE(list.size(), 3);
        QVERIFY(added.isEmpty() && changed.isEmpty() && deleted.isEmpty());
        const QString id = root("SELECT id FROM informasi WHERE pengumuman = 'Pengumuman baru' AND aplikasi = 'tarvesa' "
                                "AND urutan = 4 AND aktif = 1");
        QVERIFY(!id.isEmpty());
        QCOMPARE(root("SELECT pengumuman FROM informasi WHERE id = 2"), QStringLiteral("Teks diubah"));
        QCOMPARE(root("SELECT COUNT(*) FROM informasi WHERE id = 3"), QStringLiteral("0"));
        QCOMPARE(logRows(), nip + "|Informasi - Ubah|Tambah informasi " + id + "#" + nip +
                                "|Informasi - Ubah|Ubah informasi 2#" + nip + "|Informasi - Ubah|Hapus informasi 3");
    }

    void levelTakenAwayCountsAtOnce()
    {
        Caller c(kSchema, kKepala);
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_user SET level = '4' WHERE nip = '" + kKepala + "'"));
        QCOMPARE(c.call("CALL kinerja_informasi_hapus('1')"), kRefused);
        QCOMPARE(root("SELECT COUNT(*) FROM informasi WHERE id = 1"), QStringLiteral("1"));
    }

    void badValuesAreRefused_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<db::Params>("params");
        const QString add = QStringLiteral("CALL kinerja_informasi_tambah(:a, :t, :u)");
        const QString change = QStringLiteral("CALL kinerja_informasi_ubah(:id, :t, :u)");
        auto adding = [&](const QString& a, const QString& t, const QString& u) {
            return db::Params{{"a", a}, {"t", t}, {"u", u}};
        };
        auto changing = [&](const QString& id, const QString& t, const QString& u) {
            return db::Params{{"id", id}, {"t", t}, {"u", u}};
        };
        QTest::newRow("list name in capitals") << add << adding("TPP", "Teks", "1");
        QTest::newRow("unknown list") << add << adding("lain", "Teks", "1");
        QTest::newRow("empty text") << add << adding("tpp", "", "1");
        QTest::newRow("blank text") << add << adding("tpp", " \n\t ", "1");
        QTest::newRow("text too long") << add << adding("tpp", QString(1001, 'a'), "1");
        QTest::newRow("order 0") << add << adding("tpp", "Teks", "0");
        QTest::newRow("order 1000") << add << adding("tpp", "Teks", "1000");
        QTest::newRow("order negative") << add << adding("tpp", "Teks", "-1");
        QTest::newRow("order not a number") << add << adding("tpp", "Teks", "satu");
        QTest::newRow("order empty") << add << adding("tpp", "Teks", "");
        QTest::newRow("change unknown key") << change << changing("999", "Teks", "1");
        QTest::newRow("change key not a number") << change << changing("2 OR 1=1", "Teks", "1");
        QTest::newRow("change unpublished") << change << changing("4", "Teks", "1");
        QTest::newRow("change without change") << change << changing("2", "Pertama, yang lebih baru", "1");
        QTest::newRow("change to empty") << change << changing("2", "", "1");
        QTest::newRow("delete unknown key") << QStringLiteral("CALL kinerja_informasi_hapus(:id)")
                                            << db::Params{{"id", "999"}};
        QTest::newRow("delete unpublished") << QStringLiteral("CALL kinerja_informasi_hapus(:id)")
                                            << db::Params{{"id", "4"}};
    }

    void badValuesAreRefused()
    {
        QFETCH(QString, sql);
        QFETCH(db::Params, params);
        const QString before = state();
        QCOMPARE(as(kKepala, sql, params), kRefused);
        QCOMPARE(state(), before);
    }

    // The edges that are accepted: the longest text (counted in characters,
    // an emoji being one), the last order number, blanks around the text.
    void limitsAreAccepted()
    {
        const QString longest = QString(999, 'a') + QStringLiteral("😀");
        QVERIFY(as(kKepala, "CALL kinerja_informasi_tambah('tpp', :t, ' 999 ')", {{"t", longest}}).isEmpty());
        QCOMPARE(root("SELECT CONCAT(CHAR_LENGTH(pengumuman), '/', urutan) FROM informasi ORDER BY id DESC LIMIT 1"),
                 QStringLiteral("1000/999"));
        QVERIFY(as(kKepala, "CALL kinerja_informasi_ubah('2', ' \\r\\n Teks\\nbaru\\t ', '1')").isEmpty());
        QCOMPARE(root("SELECT pengumuman FROM informasi WHERE id = 2"), QStringLiteral("Teks\nbaru"));
    }

    // The fragment is a literal text: % and _ match only themselves, case
    // does not count, blanks around it are ignored, the other list is not
    // searched.
    void filterIsLiteral_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("empty") << "tpp" << "" << QStringList{"5", "6", "7"};
        QTest::newRow("percent sign") << "tpp" << "%" << QStringList{"5"};
        QTest::newRow("number with percent") << "tpp" << "50%" << QStringList{"5"};
        QTest::newRow("underscore") << "tpp" << "_" << QStringList{"5"};
        QTest::newRow("underscore in word") << "tpp" << "a_b" << QStringList{"5"};
        QTest::newRow("plain word") << "tpp" << "  KODE " << QStringList{"5", "6"};
        QTest::newRow("quote") << "tpp" << "'" << QStringList{};
        QTest::newRow("other list not searched") << "tarvesa" << "kode" << QStringList{};
        QTest::newRow("unpublished not listed") << "tarvesa" << "Ditarik" << QStringList{};
    }

    void filterIsLiteral()
    {
        QFETCH(QString, list);
        QFETCH(QString, fragment);
        QFETCH(QStringList, ids);
        QStringList got;
        for (const QString& row : as(kKepala, "CALL kinerja_informasi_cari(:a, :t)", {{"a", list}, {"t", fragment}}))
            got << row.section('|', 0, 0);
        QCOMPARE(got, ids);
    }

    // ---- reading pages --------------------------------------------------

    void readingPages_data()
    {
        QTest::addColumn<InfoPage::List>("list");
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<bool>("empty");
        QTest::newRow("tarvesa before login") << InfoPage::List::Tarvesa << false << false;
        QTest::newRow("tpp before login") << InfoPage::List::TPP << false << false;
        QTest::newRow("tarvesa logged in") << InfoPage::List::Tarvesa << true << false;
        QTest::newRow("tarvesa without announcements") << InfoPage::List::Tarvesa << false << true;
        QTest::newRow("tpp without announcements") << InfoPage::List::TPP << true << true;
    }

    void readingPages()
    {
        QFETCH(InfoPage::List, list);
        QFETCH(bool, loggedIn);
        QFETCH(bool, empty);
        if (empty)
            QVERIFY(testdb::rootExec(kSchema, "DELETE FROM informasi"));
        FakeContext ctx(kSchema);
        if (loggedIn)
            QVERIFY(ctx.actAs(kPelaksana, QStringLiteral("Pelaksana Empat")));
        InfoPage page(ctx, list);
        const bool tarvesa = list == InfoPage::List::Tarvesa;
        QCOMPARE(page.objectName(), tarvesa ? QStringLiteral("xInfoTarvesa") : QStringLiteral("xInfoTPP"));
        QVERIFY(page.open());
        QVERIFY(ctx.msgs.log.isEmpty());
        QCOMPARE(ctx.activePage(), static_cast<QWidget*>(&page));
        QCOMPARE(page.header()->caption(), tarvesa ? QStringLiteral("Informasi Tarvesa") : QStringLiteral("Informasi TPP"));
        QCOMPARE(page.header()->startColor(), ctx.headerLook().from);
        StringGrid* g = page.sg_informasi;
        QCOMPARE(g->objectName(), tarvesa ? QStringLiteral("sg_informasi_tarvesa") : QStringLiteral("sg_informasi_tpp"));
        QCOMPARE(g->selectionBehavior(),
                 tarvesa ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
        QCOMPARE(g->colCount(), 2);
        QCOMPARE(g->colWidth(0), 40);
        QCOMPARE(g->colWidth(1), 1000);
        if (empty) {
            // the captions as an ordinary row, and the page still shown
            QCOMPARE(g->rowCount(), 1);
            QCOMPARE(g->fixedRows(), 0);
            QCOMPARE(g->cell(0, 0), QStringLiteral("No."));
            QCOMPARE(g->cell(0, 1), QStringLiteral("Pengumuman"));
            return;
        }
        QCOMPARE(g->fixedRows(), 1);
        QCOMPARE(g->rowCount(), 4);
        QCOMPARE(column(g, 0), (QStringList{"1", "2", "3"}));
        QCOMPARE(g->rowHeight(0), 25);
        QCOMPARE(g->rowHeight(1), 25);
        if (tarvesa)
            return;
        // a long text wraps in a taller row, also when the page narrows,
        // and shows whole in its tooltip
        QCOMPARE(g->cell(3, 1), kLong);
        page.resize(1100, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const int wide = g->rowHeight(2);
        const int lineHeight = g->fontMetrics().lineSpacing();
        QVERIFY2(wide >= 25 + lineHeight, qPrintable(QString::number(wide)));
        page.resize(600, 600);
        QTRY_VERIFY(g->rowHeight(2) > wide);
        QCOMPARE(g->rowHeight(1), 25);
        QCOMPARE(g->model()->index(2, 1).data(Qt::ToolTipRole).toString(), kLong);
    }

    void failedListKeepsThePreviousPage_data()
    {
        QTest::addColumn<InfoPage::List>("list");
        QTest::addColumn<QString>("drop"); // the procedure to drop; none: no database to reach
        QTest::addColumn<QString>("message");
        QTest::newRow("tarvesa, no database") << InfoPage::List::Tarvesa << "" << QString::fromUtf8(stdmsg::GagalTerhubung);
        QTest::newRow("tpp, no database") << InfoPage::List::TPP << "" << QString::fromUtf8(stdmsg::GagalTerhubung);
        QTest::newRow("tarvesa, statement fails") << InfoPage::List::Tarvesa << "kinerja_informasi" << kGagalMenampilkan;
        QTest::newRow("tpp, statement fails") << InfoPage::List::TPP << "tpp_informasi" << kGagalMenampilkan;
    }

    void failedListKeepsThePreviousPage()
    {
        QFETCH(InfoPage::List, list);
        QFETCH(QString, drop);
        QFETCH(QString, message);
        FakeContext ctx(drop.isEmpty() ? QStringLiteral("t_information_missing") : kSchema);
        InfoPage page(ctx, list);
        QWidget previous;
        ctx.showPage(&previous);
        if (!drop.isEmpty())
            QVERIFY(testdb::rootExec(kSchema, "DROP PROCEDURE " + drop));
        QVERIFY(!page.open());
        QCOMPARE(ctx.activePage(), &previous);
        QCOMPARE(ctx.msgs.texts(), QStringList{message});
        QVERIFY(page.header()->caption().isEmpty());
    }

    // ---- administrators' page ------------------------------------------

    void openingListsTheFirstTab()
    {
        Admin a;
        a.page.pgInfoTarvesaTPP->setCurrentIndex(1); // left on the second tab
        a.ctx.msgs.clear();
        a.page.dxSettingItems2Click();
        QCOMPARE(a.ctx.activePage(), static_cast<QWidget*>(&a.page));
        QCOMPARE(a.page.header()->caption(), QStringLiteral("Halaman Admin - Setting Informasi Tarvesa dan TPP"));
        QCOMPARE(a.page.pgInfoTarvesaTPP->currentIndex(), 0);
        QVERIFY(a.ctx.msgs.log.isEmpty());
        QCOMPARE(column(a.page.sg_adm_informasi_tarvesa, 1),
                 (QStringList{"Pertama, yang lebih baru", "Pertama, yang lebih lama", "Kedua menurut urutan"}));
        QCOMPARE(a.page.sg_adm_informasi_tarvesa->colWidth(0), 30);
        QCOMPARE(a.page.sg_adm_informasi_tarvesa->colWidth(1), 700);
        QCOMPARE(a.page.Label92->text(), QStringLiteral("Jumlah data : 3"));
        QVERIFY(!a.ctx.dm.connected());

        // Showing the other tab lists it.
        a.page.pgInfoTarvesaTPP->setCurrentIndex(1);
        QCOMPARE(a.page.Label98->text(), QStringLiteral("Jumlah data : 3"));
    }

    void filterEditsSelectRows_data()
    {
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<int>("rows");
        QTest::newRow("percent") << "50%" << 1;
        QTest::newRow("underscore") << "_" << 1;
        QTest::newRow("word") << "kode" << 2;
        QTest::newRow("nothing") << "tidak ada" << 0;
    }

    void filterEditsSelectRows()
    {
        QFETCH(QString, fragment);
        QFETCH(int, rows);
        Admin a;
        a.page.Edit8->setText(fragment);
        QTest::keyClick(a.page.Edit8, Qt::Key_Return);
        QCOMPARE(a.page.Label98->text(), "Jumlah data : " + QString::number(rows));
        QCOMPARE(column(a.page.sg_adm_informasi_tpp, 1).size(), rows);
        for (const QString& text : column(a.page.sg_adm_informasi_tpp, 1))
            QVERIFY(text.contains(fragment, Qt::CaseInsensitive));
        QVERIFY(a.ctx.msgs.log.isEmpty());
    }

    // A refused list leaves the grid and the count as they were.
    void failedAdminListKeepsTheGrid()
    {
        Admin a;
        a.page.xAdmInformasiTampilTarvesaClick();
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_user SET level = '3' WHERE nip = '" + kKepala + "'"));
        a.page.Edit6->setText(QStringLiteral("Kedua"));
        a.page.xAdmInformasiTampilTarvesaClick();
        QCOMPARE(a.ctx.msgs.texts(), QStringList{kGagalMenampilkan + "\rHak akses tidak cukup."});
        QCOMPARE(a.page.Label92->text(), QStringLiteral("Jumlah data : 3"));
        QCOMPARE(a.page.sg_adm_informasi_tarvesa->rowCount(), 4);
    }

    void addChangeDelete()
    {
        Admin a;
        a.page.pgInfoTarvesaTPP->setCurrentIndex(1);
        StringGrid* g = a.page.sg_adm_informasi_tpp;

        // add
        bool saved = false;
        a.expectSave(QStringLiteral("  TPP bulan ini cair tanggal 15  "), 1, &saved);
        a.page.xAdmInformasiTambahTPPClick();
        QVERIFY(saved);
        QCOMPARE(a.ctx.dialogRunner.opened, QStringList{"Tfe_informasi"});
        QCOMPARE(a.ctx.msgs.texts(), QStringList{QString::fromUtf8(stdmsg::BerhasilDisimpan)});
        QCOMPARE(a.page.Label98->text(), QStringLiteral("Jumlah data : 4"));
        QCOMPARE(g->cell(1, 1), QStringLiteral("TPP bulan ini cair tanggal 15")); // the newest of order 1
        const QString id = root("SELECT MAX(id) FROM informasi WHERE aplikasi = 'tpp'");
        QCOMPARE(root("SELECT pengumuman FROM informasi WHERE id = " + id), g->cell(1, 1));

        // change: the dialog shows the row's text and order number
        g->setCurrentRow(2);
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfe_informasi&>(d);
            QCOMPARE(dlg.fe_informasiJudul->caption(), QStringLiteral("Ubah Informasi TPP"));
            QCOMPARE(dlg.edPengumuman->toPlainText(), QStringLiteral("Diskon 50% untuk kode A_B"));
            QCOMPARE(dlg.edUrutan->value(), 1);
            dlg.edUrutan->setValue(9);
            QVERIFY(dlg.btSimpanClick());
        });
        a.page.xAdmInformasiUbahTPPClick();
        QCOMPARE(root("SELECT urutan FROM informasi WHERE id = 5"), QStringLiteral("9"));
        QCOMPARE(g->cell(4, 1), QStringLiteral("Diskon 50% untuk kode A_B")); // now last

        // delete: asked first; "No" keeps it
        a.ctx.msgs.clear();
        g->setCurrentRow(4);
        a.ctx.msgs.answers = {false};
        a.page.xAdmInformasiHapusTPPClick();
        QCOMPARE(root("SELECT COUNT(*) FROM informasi WHERE id = 5"), QStringLiteral("1"));
        QCOMPARE(a.ctx.msgs.texts(),
                 QStringList{"Hapus pengumuman terpilih dari Informasi TPP?\r\rDiskon 50% untuk kode A_B"});
        a.ctx.msgs.answers = {true};
        a.page.xAdmInformasiHapusTPPClick();
        QCOMPARE(root("SELECT COUNT(*) FROM informasi WHERE id = 5"), QStringLiteral("0"));
        QCOMPARE(a.ctx.msgs.last(), QString::fromUtf8(stdmsg::BerhasilDihapus));
        QCOMPARE(a.page.Label98->text(), QStringLiteral("Jumlah data : 3"));

        QCOMPARE(logRows(), kKepala + "|Informasi - Ubah|Tambah informasi " + id + "#" + kKepala +
                                "|Informasi - Ubah|Ubah informasi 5#" + kKepala + "|Informasi - Ubah|Hapus informasi 5");
    }

    // The dialog's own checks, and a refusal of the server, keep it open
    // with the input; nothing is sent for the first ones.
    void dialogKeepsInputOnFailure_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("urutan");
        QTest::addColumn<bool>("goneMeanwhile");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "   " << 1 << false << "Pengumuman belum diisi!";
        QTest::newRow("too long") << QString(1001, 'a') << 1 << false << "Pengumuman paling banyak 1000 karakter!";
        QTest::newRow("unchanged") << "Kedua menurut urutan" << 2 << false << "Tidak ada perubahan yang disimpan!";
        QTest::newRow("deleted meanwhile") << "Teks baru" << 2 << true
                                           << kGagalMenyimpan + "\rInformasi tidak ditemukan.";
    }

    void dialogKeepsInputOnFailure()
    {
        QFETCH(QString, text);
        QFETCH(int, urutan);
        QFETCH(bool, goneMeanwhile);
        QFETCH(QString, message);
        Admin a;
        a.page.dxSettingItems2Click();
        a.page.sg_adm_informasi_tarvesa->setCurrentRow(3); // "Kedua menurut urutan", order 2
        if (goneMeanwhile)
            QVERIFY(testdb::rootExec(kSchema, "DELETE FROM informasi WHERE id = 1"));
        const QString before = state();
        bool saved = true;
        a.ctx.dialogRunner.expect([&](QDialog& d) {
            auto& dlg = static_cast<Tfe_informasi&>(d);
            dlg.edPengumuman->setPlainText(text);
            dlg.edUrutan->setValue(urutan);
            saved = dlg.btSimpanClick();
            QCOMPARE(a.ctx.dialogRunner.state(), DialogEnd::StillOpen);
            QCOMPARE(dlg.edPengumuman->toPlainText(), text);
        });
        a.page.xAdmInformasiUbahTarvesaClick();
        QVERIFY(!saved);
        QCOMPARE(a.ctx.msgs.texts(), QStringList{message});
        QCOMPARE(state(), before);
    }

    void actionsNeedARow()
    {
        Admin a;
        a.page.Edit6->setText(QStringLiteral("tidak ada"));
        a.page.xAdmInformasiTampilTarvesaClick();
        a.page.xAdmInformasiUbahTarvesaClick();
        a.page.xAdmInformasiHapusTarvesaClick();
        const QString none = QString::fromUtf8(stdmsg::TidakAdaDipilih);
        QCOMPARE(a.ctx.msgs.texts(), (QStringList{none, none}));
        QVERIFY(a.ctx.dialogRunner.opened.isEmpty());
    }
};

QTEST_MAIN(TestInformation)
#include "test_information.moc"
