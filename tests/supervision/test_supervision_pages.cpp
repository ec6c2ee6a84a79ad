// The subordinate list and the review page as superiors use them, on a
// page context without a main window, against the server.
#include "activities/aktivitaspage.h"
#include "activities/uaktivitas_info.h"
#include "shell/pageheader.h"
#include "fakecontext.h"
#include "mainfixture.h"
#include "orgfixture.h"
#include "supervision/bawahanpage.h"
#include "supervision/bwaktivitaspage.h"
#include "supervision/ualasan_tolak.h"
#include "ui/stringgrid.h"

#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(DialogEnd)

namespace {

const QString kSchema = QStringLiteral("t_supervision_pages");
const QString kNotSelected = QString::fromUtf8(stdmsg::TidakAdaDipilih);

QString rootValue(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QDate serverToday()
{
    return QDate::fromString(rootValue("SELECT CURDATE()"), Qt::ISODate);
}

QString statusOf(const QString& id)
{
    return rootValue("SELECT status FROM aktivitas WHERE id = " + id);
}

// The stored reason of an activity's rejection, as UTF-8 in hex (the
// command-line client's view of it is no proof of the bytes).
QByteArray storedReasonHex(const QString& id)
{
    return rootValue("SELECT COALESCE(HEX(alasan), '') FROM kinerja_alasan_tolak WHERE aktivitas_id = " + id)
        .toLatin1();
}

// A superior at the subordinate list, logged in on the server.
struct Superior {
    explicit Superior(const QString& nip, const QString& name)
        : ctx(kSchema, QDateTime(serverToday(), QTime(10, 11, 12))), list(ctx), review(ctx)
    {
        QVERIFY(ctx.actAs(nip, name, QStringLiteral("Supervisor")));
        QObject::connect(&list, &BawahanPage::activitiesRequested, &review, &BwAktivitasPage::openFor);
    }

    int rowOf(StringGrid* g, int col, const QString& value) const
    {
        for (int r = 1; r < g->rowCount(); ++r)
            if (g->cell(r, col) == value)
                return r;
        return -1;
    }

    // Opens the list and the review of one subordinate.
    bool review_(const QString& nip)
    {
        list.dxTarvesaItems3Click();
        const int row = rowOf(list.sg_bawahan, 1, nip);
        if (row < 0)
            return false;
        list.sg_bawahan->setCurrentRow(row);
        list.btbAktivitasHarianClick();
        return ctx.activePage() == &review;
    }

    // Widens the review to the last 30 days up to today and reloads.
    void widen()
    {
        review.xBwAktivitasTanggalAwal->setDate(ctx.clock().today().addDays(-30));
        review.xBwAktivitasTanggalAkhir->setDate(ctx.clock().today());
        review.xBwAktivitasTampilDataClick();
    }

    bool select(const QString& id)
    {
        const int row = rowOf(review.sg_aktivitas_bawahan, 0, id);
        review.sg_aktivitas_bawahan->setCurrentRow(row);
        return row > 0;
    }

    FakeContext ctx;
    BawahanPage list;
    BwAktivitasPage review;
};

} // namespace

class TestSupervisionPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("activities.sql")})); }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    void subordinateList()
    {
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        s.list.dxTarvesaItems3Click();
        QCOMPARE(s.ctx.activePage(), static_cast<QWidget*>(&s.list));
        QCOMPARE(s.list.header()->caption(), QStringLiteral("Data Bawahan"));
        QVERIFY(s.ctx.msgs.log.isEmpty());
        // No acting post: the acting box is cleared and greyed.
        QVERIFY(!s.list.cbBawahanJBP->isChecked());
        QVERIFY(!s.list.cbBawahanJBP->isEnabled());
        QCOMPARE(s.list.statusList(), QStringLiteral("x,Definitif"));
        StringGrid* g = s.list.sg_bawahan;
        QCOMPARE(g->colCount(), 11);
        QCOMPARE(s.list.lbBawahanJumlah->text(), "Jumlah bawahan : " + QString::number(g->rowCount() - 1));
        const int row = s.rowOf(g, 1, kPelaksana);
        QVERIFY(row > 0);
        QCOMPARE(g->cell(row, 2), QStringLiteral("Pelaksana Empat"));
        QCOMPARE(g->cell(row, 6), QStringLiteral("0.00 %")); // no figure of the month yet
        QCOMPARE(g->cell(row, 8), QStringLiteral("Bawahan Langsung"));
        // The unverified work and the age of the oldest, in days since input.
        QCOMPARE(g->cell(0, 9), QStringLiteral("Blm. Verif."));
        QCOMPARE(g->cell(0, 10), QStringLiteral("Tertua (hari)"));
        QCOMPARE(g->cell(row, 9), QStringLiteral("3"));
        QCOMPARE(g->cell(row, 10), QStringLiteral("10"));
        const int analyst = s.rowOf(g, 1, kAnalis);
        QCOMPARE(g->cell(analyst, 9), QStringLiteral("1"));
        QCOMPARE(g->cell(analyst, 10), QStringLiteral("1"));

        // Nothing ticked in a group: the list is still asked for, and empty.
        for (QCheckBox* c : {s.list.cbBawahanJJabS, s.list.cbBawahanJJabF, s.list.cbBawahanJJabP})
            c->setChecked(false);
        QCOMPARE(s.list.positionKindList(), QStringLiteral("x"));
        s.list.btBawahanTampilDataClick();
        QCOMPARE(s.list.lbBawahanJumlah->text(), QStringLiteral("Jumlah bawahan : 0"));
        QCOMPARE(g->rowCount(), 1);

        // Every action on an empty list refuses.
        s.list.btbAktivitasHarianClick();
        s.list.btbKualitasMutuClick();
        s.list.btbTugasTambahanClick();
        QCOMPARE(s.ctx.msgs.texts(), (QStringList{kNotSelected, kNotSelected, kNotSelected}));
        QCOMPARE(s.ctx.activePage(), static_cast<QWidget*>(&s.list));
    }

    void actingBoxFollowsTheProfile_data()
    {
        QTest::addColumn<QString>("plt");
        QTest::addColumn<QString>("sampiran");
        QTest::addColumn<QString>("klasifikasi");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("none") << "Tidak" << "Tidak" << "2" << false;
        QTest::newRow("acting") << "Ya" << "Tidak" << "5" << true;
        QTest::newRow("side assignment") << "Tidak" << "Ya" << "4" << true;
        QTest::newRow("classification 6") << "Tidak" << "Tidak" << "6" << true;
    }

    void actingBoxFollowsTheProfile()
    {
        QFETCH(QString, plt);
        QFETCH(QString, sampiran);
        QFETCH(QString, klasifikasi);
        QFETCH(bool, enabled);
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        s.ctx.setProfile(9, plt);
        s.ctx.setProfile(11, sampiran);
        s.ctx.setProfile(16, klasifikasi);
        s.list.cbBawahanJBP->setChecked(!enabled); // an earlier tick is overwritten
        s.list.dxTarvesaItems3Click();
        QCOMPARE(s.list.cbBawahanJBP->isChecked(), enabled);
        QCOMPARE(s.list.cbBawahanJBP->isEnabled(), enabled);
        QCOMPARE(s.list.statusList(), enabled ? QStringLiteral("x,Definitif,Plt,Tugas Sampiran")
                                              : QStringLiteral("x,Definitif"));
    }

    void actingHeadSeesTheVacantFieldsStaff()
    {
        Superior s(kPlt, QStringLiteral("Analis Lima"));
        s.ctx.setProfile(9, QStringLiteral("Ya"));
        s.list.dxTarvesaItems3Click();
        const int row = s.rowOf(s.list.sg_bawahan, 1, kPengelola);
        QVERIFY(row > 0);
        QCOMPARE(s.list.sg_bawahan->cell(row, 7), QStringLiteral("Plt"));
        QCOMPARE(s.list.sg_bawahan->cell(row, 8), QStringLiteral("Bawahan Langsung"));
    }

    void directReviewOpens()
    {
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        QCOMPARE(s.ctx.session().st_aktivitas_bawahan, QStringLiteral("B1"));
        QCOMPARE(s.review.header()->caption(), QStringLiteral("Aktivitas Harian Bawahan a.n. Pelaksana Empat"));
        QCOMPARE(s.review.xBwAktivitasLbTanggal->text(), QStringLiteral("Tanggal Input"));
        const QDate today = s.ctx.clock().today();
        QCOMPARE(s.review.xBwAktivitasTanggalAwal->date(), QDate(today.year(), today.month(), 1));
        QCOMPARE(s.review.xBwAktivitasTanggalAkhir->date(), today);
        QVERIFY(!s.review.pBwAktivitasAction1tk->isHidden());
        QVERIFY(s.review.pBwAktivitasAction2tk->isHidden());
        QVERIFY(s.review.Setujui2->isEnabled());
        QCOMPARE(s.review.sg_aktivitas_bawahan->colWidth(12), 0);
        QVERIFY(s.ctx.msgs.log.isEmpty());

        s.widen();
        QCOMPARE(s.review.lbBwAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 5"));
        QVERIFY(s.review.xBwAktivitasSetujuiAll->isHidden()); // a range of many days
        QVERIFY(!s.review.xBwAktivitasSetujui->isHidden());

        // One day: the "all" actions are offered.
        const QDate day = today.addDays(-2);
        s.review.xBwAktivitasTanggalAwal->setDate(day);
        s.review.xBwAktivitasTanggalAkhir->setDate(day);
        s.review.xBwAktivitasTampilDataClick();
        QVERIFY(!s.review.xBwAktivitasSetujuiAll->isHidden());
        QCOMPARE(s.review.lbBwAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 1"));

        // Only one type ticked.
        s.widen();
        s.review.cbBwJJab1->setChecked(false);
        s.review.cbBwJJab2->setChecked(false);
        QCOMPARE(s.review.typeList(), QStringLiteral("x,Lainnya"));
        s.review.xBwAktivitasTampilDataClick();
        QCOMPARE(s.review.lbBwAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 1"));
    }

    void approveAndReject_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("approve");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("reasonAsked");
        const QString reask = QStringLiteral("\rproses verifikasi kedua dan seterusnya juga akan merubah tanggal "
                                             "verifikasi di sistem.\rLanjut proses?");
        QTest::newRow("approve unverified")
            << "201" << true << QList<bool>{true}
            << QStringList{"Setujui aktivitas terpilih?", "Data berhasil disetujui!"} << "accepted" << false;
        QTest::newRow("reject unverified")
            << "205" << false << QList<bool>{true}
            << QStringList{"Tolak aktivitas terpilih?", "Data berhasil ditolak!"} << "rejected" << true;
        QTest::newRow("approve, then say no") << "201" << true << QList<bool>{false}
                                              << QStringList{"Setujui aktivitas terpilih?"} << "0" << false;
        QTest::newRow("approve again: asked first")
            << "203" << true << QList<bool>{true, true}
            << QStringList{"Aktivitas sudah disetujui oleh atasan!" + reask, "Setujui aktivitas terpilih?",
                           "Data berhasil disetujui!"}
            << "accepted" << false;
        QTest::newRow("reject the approved: no at the first question")
            << "203" << false << QList<bool>{false} << QStringList{"Aktivitas sudah diverifikasi oleh atasan!" + reask}
            << "accepted" << false;
        QTest::newRow("rejected one is approved without the question")
            << "202" << true << QList<bool>{true}
            << QStringList{"Setujui aktivitas terpilih?", "Data berhasil disetujui!"} << "accepted" << false;
    }

    void approveAndReject()
    {
        QFETCH(QString, id);
        QFETCH(bool, approve);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, messages);
        QFETCH(QString, status);
        QFETCH(bool, reasonAsked);
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        s.widen();
        QVERIFY(s.select(id));
        s.ctx.msgs.answers = answers;
        if (reasonAsked)
            s.ctx.dialogRunner.expect([](QDialog& d) { d.reject(); });
        if (approve)
            s.review.xBwAktivitasSetujuiClick();
        else
            s.review.xBwAktivitasTolakClick();
        QCOMPARE(s.ctx.msgs.texts(), messages);
        QCOMPARE(statusOf(id), status);
        QCOMPARE(s.ctx.dialogRunner.opened, reasonAsked ? QStringList{"Tfalasan_tolak"} : QStringList{});
    }

    // The reason asked after "Tolak": whatever happens to it, the rejection
    // stands; only a text of 1 to 500 characters saved with "Simpan" is
    // stored, and a text not stored is never lost without a question.
    void rejectionReason_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("save"); // Simpan, else Lewati
        QTest::addColumn<QList<bool>>("answers"); // after "Tolak aktivitas terpilih?"
        QTest::addColumn<QStringList>("between"); // messages while the dialog is open
        QTest::addColumn<DialogEnd>("end");
        QTest::addColumn<bool>("stored");
        const QString reason = QStringLiteral("Volume \"10 surat\" tidak sesuai bukti; mohon diperbaiki \U0001F4C4");
        QString tooLong = QStringLiteral("\U0001F4C4");
        while (Tfalasan_tolak::characters(tooLong) < 501)
            tooLong += QStringLiteral("a");
        const QString discard = Tfalasan_tolak::discardQuestion();
        QTest::newRow("saved") << reason << true << QList<bool>{} << QStringList{} << DialogEnd::Accepted << true;
        QTest::newRow("nothing typed, Simpan") << "" << true << QList<bool>{} << QStringList{} << DialogEnd::Rejected
                                               << false;
        QTest::newRow("spaces only, Simpan") << "  \n " << true << QList<bool>{} << QStringList{}
                                             << DialogEnd::Rejected << false;
        QTest::newRow("nothing typed, Lewati") << "" << false << QList<bool>{} << QStringList{}
                                               << DialogEnd::Rejected << false;
        QTest::newRow("typed, Lewati, yes") << reason << false << QList<bool>{true} << QStringList{discard}
                                            << DialogEnd::Rejected << false;
        QTest::newRow("typed, Lewati, no: stays open") << reason << false << QList<bool>{false}
                                                       << QStringList{discard} << DialogEnd::StillOpen << false;
        QTest::newRow("501 characters: stays open")
            << tooLong << true << QList<bool>{} << QStringList{"Alasan penolakan paling banyak 500 karakter, yang "
                                                               "diketik 501 karakter."}
            << DialogEnd::StillOpen << false;
    }

    void rejectionReason()
    {
        QFETCH(QString, typed);
        QFETCH(bool, save);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, between);
        QFETCH(DialogEnd, end);
        QFETCH(bool, stored);
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        s.widen();
        QVERIFY(s.select("205"));
        s.ctx.msgs.answers = QList<bool>{true} + answers;
        QString statusWhileOpen;
        s.ctx.dialogRunner.expect([&](QDialog& d) {
            auto* dialog = qobject_cast<Tfalasan_tolak*>(&d);
            QVERIFY(dialog);
            // Asked after the rejection went through.
            statusWhileOpen = statusOf("205");
            dialog->edAlasan->setPlainText(typed);
            (save ? dialog->btSimpan : dialog->btLewati)->click();
            QCOMPARE(dialog->edAlasan->toPlainText(), typed);
        });
        s.review.xBwAktivitasTolakClick();
        QCOMPARE(statusWhileOpen, QStringLiteral("rejected"));
        QCOMPARE(s.ctx.dialogRunner.lastEnd(), end);
        QCOMPARE(s.ctx.msgs.texts(),
                 QStringList{"Tolak aktivitas terpilih?"} + between + QStringList{"Data berhasil ditolak!"});
        QCOMPARE(statusOf("205"), QStringLiteral("rejected"));
        QCOMPARE(storedReasonHex("205"), stored ? typed.toUtf8().toHex().toUpper() : QByteArray());
    }

    // A reason the server refuses (the activity approved meanwhile on
    // another computer) stays in the dialog, which stays open.
    void refusedReasonStaysTyped()
    {
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        s.widen();
        QVERIFY(s.select("205"));
        s.ctx.msgs.answers = {true};
        s.ctx.dialogRunner.expect([&](QDialog& d) {
            auto* dialog = qobject_cast<Tfalasan_tolak*>(&d);
            QVERIFY(dialog);
            QVERIFY(testdb::rootExec(kSchema, "UPDATE aktivitas SET status = 'accepted' WHERE id = 205"));
            dialog->edAlasan->setPlainText(QStringLiteral("alasan yang terlambat"));
            dialog->btSimpan->click();
            QCOMPARE(dialog->edAlasan->toPlainText(), QStringLiteral("alasan yang terlambat"));
        });
        s.review.xBwAktivitasTolakClick();
        QCOMPARE(s.ctx.dialogRunner.lastEnd(), DialogEnd::StillOpen);
        QCOMPARE(s.ctx.msgs.texts(), (QStringList{"Tolak aktivitas terpilih?",
                                                  "Alasan penolakan gagal disimpan!\rAktivitas tidak ditolak atasan.",
                                                  "Data berhasil ditolak!"}));
        QCOMPARE(storedReasonHex("205"), QByteArray());
    }

    // The owner reads the reason on the status of the own list and in the
    // details; an activity rejected without one shows no such row.
    void ownerReadsTheReason()
    {
        const QString reason = QStringLiteral("Bukti \"daftar hadir\" belum dilampirkan \U0001F4CE");
        {
            Superior s(kKabid, QStringLiteral("Kabid Dua"));
            QVERIFY(s.review_(kPelaksana));
            s.widen();
            QVERIFY(s.select("205"));
            s.ctx.msgs.answers = {true};
            s.ctx.dialogRunner.expect([&](QDialog& d) {
                auto* dialog = qobject_cast<Tfalasan_tolak*>(&d);
                QVERIFY(dialog);
                dialog->edAlasan->setPlainText(reason);
                dialog->btSimpan->click();
            });
            s.review.xBwAktivitasTolakClick();
            QCOMPARE(s.ctx.dialogRunner.lastEnd(), DialogEnd::Accepted);
        }

        FakeContext ctx(kSchema, QDateTime(serverToday(), QTime(10, 11, 12)));
        QVERIFY(ctx.actAs(kPelaksana, QStringLiteral("Pelaksana Empat")));
        AktivitasPage page(ctx);
        page.xAktivitasTanggalAwal->setDate(serverToday().addDays(-30));
        page.xAktivitasTanggalAkhir->setDate(serverToday());
        page.xAktivitasTampilDataClick();
        StringGrid* g = page.sg_aktivitas;
        auto rowOf = [g](const QString& id) {
            for (int r = 1; r < g->rowCount(); ++r)
                if (g->cell(r, 0) == id)
                    return r;
            return -1;
        };
        const int withReason = rowOf("205");
        const int without = rowOf("202");
        QVERIFY(withReason > 0 && without > 0);
        QCOMPARE(g->cell(withReason, 8), QStringLiteral("Ditolak Atasan"));
        QCOMPARE(g->colWidth(13), 0); // the reason is no column of its own
        const QModelIndex status = g->model()->index(withReason - 1, 8);
        QCOMPARE(status.data(GridModel::ColumnNoteRole).toStringList(), (QStringList{"Alasan Penolakan", reason}));
        QVERIFY(!g->model()->index(without - 1, 8).data(GridModel::ColumnNoteRole).isValid());

        for (int row : {withReason, without}) {
            g->setCurrentRow(row);
            bool shown = false;
            QString text;
            ctx.dialogRunner.expect([&](QDialog& d) {
                auto* info = qobject_cast<Tfaktivitas_info*>(&d);
                QVERIFY(info);
                shown = !info->fAktAlasanTolak->isHidden();
                text = info->fAktAlasanTolak->toPlainText();
                d.accept();
            });
            page.xAktivitasInfoClick();
            QCOMPARE(shown, row == withReason);
            QCOMPARE(text, row == withReason ? reason : QString());
        }
        QVERIFY(ctx.msgs.log.isEmpty());
    }

    void refusalsChangeNothing()
    {
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '3' "
                                          "WHERE nama = 'aktivitas_verifikasi_day_max';"
                                          "UPDATE aktivitas SET tanggal_input = NOW() - INTERVAL 5 DAY WHERE id = 201;"
                                          "UPDATE aktivitas SET status = 'accepted_by_system' WHERE id = 205"));
        QVERIFY(s.review_(kPelaksana));
        s.widen();
        QVERIFY(s.select("201"));
        s.review.xBwAktivitasSetujuiClick();
        QVERIFY(s.select("205"));
        s.review.xBwAktivitasTolakClick();
        QVERIFY(s.select("205"));
        s.review.xBwAktivitasSetujuiClick();
        const QString bySystem = QStringLiteral("Aktivitas sudah disetujui sistem!\r\raktivitas yang sudah disetujui "
                                                "sistem tidak bisa diubah status verifikasinya oleh atasan.");
        QCOMPARE(s.ctx.msgs.texts(),
                 (QStringList{"Gagal memverifikasi aktivitas terpilih !\r\rAlasan :\rSelisih tgl input aktivitas "
                              "dengan saat ini 5 hari,\rSelisih tgl diperbolehkan verifikasi 3 hari.",
                              bySystem, bySystem}));
        QCOMPARE(statusOf("201"), QStringLiteral("0"));
        QCOMPARE(statusOf("205"), QStringLiteral("accepted_by_system"));
    }

    void approveAllOfOneDay()
    {
        // Four unverified activities put in on the same day.
        QVERIFY(testdb::rootExec(
            kSchema, "UPDATE aktivitas SET tanggal_input = CURDATE() - INTERVAL 1 DAY + INTERVAL 9 HOUR, status = '0' "
                     "WHERE id IN (201, 202, 203, 205)"));
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        const QDate day = s.ctx.clock().today().addDays(-1);
        s.review.xBwAktivitasTanggalAwal->setDate(day);
        s.review.xBwAktivitasTanggalAkhir->setDate(day);
        s.review.xBwAktivitasTampilDataClick();
        QCOMPARE(s.review.lbBwAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 4"));
        const QString logs = rootValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = 'Verifikasi - Approve'");
        s.ctx.msgs.answers << true;
        s.review.xBwAktivitasSetujuiAllClick();
        QCOMPARE(s.ctx.msgs.texts(),
                 (QStringList{"Ada 4 yang siap diverifikasi, lanjutkan?\r\rCatatan :\rDengan memvalidasi aktivitas "
                              "bawahan dua tingkat, atasan dua tingkat dianggap sudah membaca semua aktivitas "
                              "bawahan, dan mengetahui aktifitas kinerja bawahan sehingga dapat digunakan untuk "
                              "melaksanakan pembinaan.",
                              "Data berhasil disetujui!\r4 aktivitas disetujui."}));
        QCOMPARE(rootValue("SELECT GROUP_CONCAT(status ORDER BY id) FROM aktivitas WHERE id IN (201, 202, 203, 205)"),
                 QStringLiteral("accepted,accepted,accepted,accepted"));
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = 'Verifikasi - Approve'").toInt(),
                 logs.toInt() + 4);
        // The reload shows the new status.
        QCOMPARE(s.review.sg_aktivitas_bawahan->cell(1, 7), QStringLiteral("Disetujui Atasan"));
    }

    // Rows verified meanwhile (by the superior on another window) are left
    // as they are, and the message counts them apart.
    void approveAllCountsWhatItSkipped()
    {
        QVERIFY(testdb::rootExec(
            kSchema, "UPDATE aktivitas SET tanggal_input = CURDATE() - INTERVAL 1 DAY + INTERVAL 9 HOUR, status = '0' "
                     "WHERE id IN (201, 202, 203, 205)"));
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        const QDate day = s.ctx.clock().today().addDays(-1);
        s.review.xBwAktivitasTanggalAwal->setDate(day);
        s.review.xBwAktivitasTanggalAkhir->setDate(day);
        s.review.xBwAktivitasTampilDataClick();
        QVERIFY(testdb::rootExec(kSchema, "UPDATE aktivitas SET status = 'rejected', tanggal_status = NOW(), "
                                          "nip_verifikator = '" + kKabid + "' WHERE id = 202"));
        s.ctx.msgs.answers << true;
        s.review.xBwAktivitasSetujuiAllClick();
        QCOMPARE(s.ctx.msgs.texts().value(1),
                 QStringLiteral("Data berhasil disetujui!\r3 aktivitas disetujui, 1 dilewati karena sudah "
                                "diverifikasi sebelumnya."));
        QCOMPARE(rootValue("SELECT GROUP_CONCAT(status ORDER BY id) FROM aktivitas WHERE id IN (201, 202, 203, 205)"),
                 QStringLiteral("accepted,rejected,accepted,accepted"));
    }

    // A row the server refuses stops the run: the rows before it stay
    // approved, the rest are not sent, and neither a success nor a reload
    // follows.
    void approveAllStopsAtAFailure()
    {
        QVERIFY(testdb::rootExec(
            kSchema, "UPDATE aktivitas SET tanggal_input = CURDATE() - INTERVAL 1 DAY + INTERVAL 9 HOUR, status = '0' "
                     "WHERE id IN (201, 202, 203, 205)"));
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        const QDate day = s.ctx.clock().today().addDays(-1);
        s.review.xBwAktivitasTanggalAwal->setDate(day);
        s.review.xBwAktivitasTanggalAkhir->setDate(day);
        s.review.xBwAktivitasTampilDataClick();
        // newest first: 205, 203, 202, 201; the third one fails
        QStringList order;
        for (int r = 1; r < s.review.sg_aktivitas_bawahan->rowCount(); ++r)
            order << s.review.sg_aktivitas_bawahan->cell(r, 0);
        QCOMPARE(order, (QStringList{"205", "203", "202", "201"}));
        QVERIFY(testdb::rootExec(kSchema, "CREATE TRIGGER uji_gagal BEFORE UPDATE ON aktivitas FOR EACH ROW "
                                          "IF NEW.id = 202 THEN SIGNAL SQLSTATE '45000' "
                                          "SET MESSAGE_TEXT = 'Aktivitas dikunci uji'; END IF"));
        s.ctx.msgs.answers << true;
        s.review.xBwAktivitasSetujuiAllClick();
        QCOMPARE(s.ctx.msgs.texts().mid(1),
                 QStringList{QString::fromUtf8(stdmsg::GagalMenampilkan) + "\rAktivitas dikunci uji."});
        QCOMPARE(rootValue("SELECT GROUP_CONCAT(status ORDER BY id) FROM aktivitas WHERE id IN (201, 202, 203, 205)"),
                 QStringLiteral("0,0,accepted,accepted"));
        // not reloaded: the rows still show what they showed
        QCOMPARE(s.review.sg_aktivitas_bawahan->cell(1, 7), QStringLiteral("Belum Diverifikasi"));
    }

    void emptyListActionsRefuse()
    {
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        s.review.xBwAktivitasEdAktivitas->setText(QStringLiteral("tidak ada yang seperti ini"));
        s.review.xBwAktivitasTampilDataClick();
        QCOMPARE(s.review.sg_aktivitas_bawahan->rowCount(), 1);
        s.review.xBwAktivitasSetujuiClick();
        s.review.xBwAktivitasTolakClick();
        s.review.xBwAktivitasValidasiClick();
        s.review.xBwAktivitasSetujuiAllClick();
        s.review.xBwAktivitasValidasiSemuaClick();
        QCOMPARE(s.ctx.msgs.texts(), QStringList(5, kNotSelected));
    }

    void twoLevelReviewValidates()
    {
        Superior s(kKepala, QStringLiteral("Kepala Satu"));
        QVERIFY(s.review_(kPelaksana));
        QCOMPARE(s.ctx.session().st_aktivitas_bawahan, QStringLiteral("B2"));
        QCOMPARE(s.review.xBwAktivitasLbTanggal->text(), QStringLiteral("Tanggal Verifikasi"));
        QVERIFY(s.review.pBwAktivitasAction1tk->isHidden());
        QVERIFY(!s.review.pBwAktivitasAction2tk->isHidden());
        // The popup does not offer what this superior may not do.
        QVERIFY(!s.review.Setujui2->isEnabled());
        QVERIFY(!s.review.olak2->isEnabled());
        s.widen();
        // "Wajib Validasi?" shows in this mode only, as wide as its caption.
        QVERIFY(s.review.sg_aktivitas_bawahan->colWidth(12) > 0);
        // Verified ones only: the approved 203 and the rejected 202.
        QCOMPARE(s.review.lbBwAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 2"));
        QVERIFY(s.select("203"));
        s.ctx.msgs.answers << true;
        s.review.xBwAktivitasValidasiClick();
        QCOMPARE(s.ctx.msgs.texts(), (QStringList{"Validasi aktivitas terpilih?", "Data berhasil disetujui!"}));
        QVERIFY(rootValue("SELECT tanggal_validasi IS NOT NULL FROM aktivitas WHERE id = 203") == "1");
        QCOMPARE(rootValue("SELECT nip_validator FROM aktivitas WHERE id = 203"), kKepala);

        // Validating again asks first; No changes nothing.
        s.ctx.msgs.clear();
        const QString stamp = rootValue("SELECT tanggal_validasi FROM aktivitas WHERE id = 203");
        QVERIFY(s.select("203"));
        s.ctx.msgs.answers << false;
        s.review.xBwAktivitasValidasiClick();
        QCOMPARE(s.ctx.msgs.texts(), (QStringList{"Aktivitas sudah divalidasi!\rproses validasi kedua dan seterusnya "
                                                  "juga akan merubah tanggal validasi di sistem.\rLanjut proses?"}));
        QCOMPARE(rootValue("SELECT tanggal_validasi FROM aktivitas WHERE id = 203"), stamp);
    }

    // "Validasi Semua" validates every verified row of the list.
    void validateAll()
    {
        Superior s(kKepala, QStringLiteral("Kepala Satu"));
        QVERIFY(s.review_(kPelaksana));
        s.widen();
        QCOMPARE(s.review.lbBwAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 2"));
        s.ctx.msgs.answers << true;
        s.review.xBwAktivitasValidasiSemuaClick();
        QCOMPARE(s.ctx.msgs.texts().value(1), QStringLiteral("Data berhasil disetujui!\r2 aktivitas divalidasi."));
        QCOMPARE(rootValue("SELECT GROUP_CONCAT(CONCAT(id, ':', nip_validator) ORDER BY id) FROM aktivitas "
                           "WHERE tanggal_validasi IS NOT NULL"),
                 "202:" + kKepala + ",203:" + kKepala);
    }

    // The two last columns: days left (and the day of the automatic
    // approval) of the work that waits, and the notes, with a tint for rows
    // due within a day, another for rows with a note, the reasons on hover.
    void reviewShowsDeadlinesAndNotes()
    {
        QVERIFY(testdb::rootExec(
            kSchema, "UPDATE aktivitas SET tanggal_input = CURDATE() - INTERVAL 5 DAY + INTERVAL 11 HOUR WHERE id = 205;"
                     "INSERT INTO aktivitas (id, nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, volume, "
                     "satuan, bobot_skr, tanggal_aktivitas, tanggal_input, status, nip_atasan1, nip_atasan2) "
                     "SELECT 207, nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, 1, satuan, bobot_skr, "
                     "tanggal_aktivitas + INTERVAL 1 HOUR, tanggal_input, '0', nip_atasan1, nip_atasan2 "
                     "FROM aktivitas WHERE id = 201"));
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        s.widen();
        QVERIFY(s.ctx.msgs.log.isEmpty());
        StringGrid* g = s.review.sg_aktivitas_bawahan;
        QCOMPARE(g->colCount(), 16); // and the rejection reason behind the status
        QCOMPARE(g->cell(0, 13), QStringLiteral("Sisa Hari"));
        QCOMPARE(g->cell(0, 14), QStringLiteral("Catatan"));
        QCOMPARE(g->colWidth(15), 0);
        auto day = [](int n) { return rootValue(QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(n)); };

        const int twice = s.rowOf(g, 0, QStringLiteral("201"));
        QCOMPARE(g->cell(twice, 13), "3 hari, otomatis " + day(4));
        QCOMPARE(g->cell(twice, 14), QStringLiteral("Deskripsi ganda"));
        const QString note = g->cells().rowNote(twice);
        QVERIFY2(note.contains("Batas verifikasi " + day(3)) && note.contains("tercatat 2 kali"), qPrintable(note));

        const int due = s.rowOf(g, 0, QStringLiteral("205"));
        QCOMPARE(g->cell(due, 13), "hari ini, otomatis " + day(1));
        QCOMPARE(g->cell(due, 14), QString());

        const int verified = s.rowOf(g, 0, QStringLiteral("203"));
        QCOMPARE(g->cell(verified, 13), QString());
        QCOMPARE(g->cell(verified, 14), QString());

        QVERIFY(g->cells().rowTint(twice).isValid());
        QVERIFY(g->cells().rowTint(due).isValid());
        QVERIFY(g->cells().rowTint(due) != g->cells().rowTint(twice));
        QVERIFY(!g->cells().rowTint(verified).isValid());
        QVERIFY(g->cells().rowNote(verified).isEmpty());
        // The tint is what the row's cells paint with.
        const QModelIndex cell = g->model()->index(due - 1, 4);
        QCOMPARE(cell.data(Qt::BackgroundRole).value<QBrush>().color(), g->cells().rowTint(due));

        // A reload with a narrower filter keeps no mark of earlier rows.
        s.review.cbBwStat3->setChecked(false);
        s.review.xBwAktivitasTampilDataClick();
        for (int r = 1; r < g->rowCount(); ++r) {
            QVERIFY(!g->cells().rowTint(r).isValid());
            QCOMPARE(g->cell(r, 13), QString());
        }

        // Two levels up: the days left of the validation.
        Superior head(kKepala, QStringLiteral("Kepala Satu"));
        QVERIFY(head.review_(kPelaksana));
        head.widen();
        const int toValidate = head.rowOf(head.review.sg_aktivitas_bawahan, 0, QStringLiteral("203"));
        QCOMPARE(head.review.sg_aktivitas_bawahan->cell(toValidate, 13), QStringLiteral("3 hari"));
    }

    // The lists stand when their figures fail: no message, no notes; the
    // days left need none of what failed.
    void figuresFailureLeavesTheLists()
    {
        QVERIFY(testdb::rootExec(
            kSchema, "INSERT INTO aktivitas (id, nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, volume, "
                     "satuan, bobot_skr, tanggal_aktivitas, tanggal_input, status, nip_atasan1, nip_atasan2) "
                     "SELECT 207, nip, jenis_jabatan, kode_rincian, kode_jabatan, deskripsi, 1, satuan, bobot_skr, "
                     "tanggal_aktivitas + INTERVAL 1 HOUR, tanggal_input, '0', nip_atasan1, nip_atasan2 "
                     "FROM aktivitas WHERE id = 201;"
                     "DROP PROCEDURE kinerja_aktivitas_catatan_hitung;"
                     "DROP PROCEDURE kinerja_bawahan_belum_verifikasi"));
        Superior s(kKabid, QStringLiteral("Kabid Dua"));
        QVERIFY(s.review_(kPelaksana));
        s.widen();
        QVERIFY(s.ctx.msgs.log.isEmpty());
        QCOMPARE(s.review.lbBwAktivitasJumlah->text(), QStringLiteral("Jumlah aktivitas : 6"));
        StringGrid* g = s.review.sg_aktivitas_bawahan;
        QCOMPARE(g->colCount(), 16);
        const int twice = s.rowOf(g, 0, QStringLiteral("201"));
        QCOMPARE(g->cell(twice, 14), QString());
        QVERIFY(g->cell(twice, 13).startsWith(QStringLiteral("3 hari")));
        const int row = s.rowOf(s.list.sg_bawahan, 1, kPelaksana);
        QCOMPARE(s.list.sg_bawahan->cell(row, 9), QString());
    }

    // "Back" on the review returns to the subordinate list as it was: the
    // same row current, the list not fetched again (a name changed on the
    // server meanwhile still shows the old one).
    void backReturnsToTheListAsItWas()
    {
        MainFixture f(kSchema, QDateTime(serverToday(), QTime(10, 11, 12)));
        f.login(kKabid);
        f.msgs.clear();
        f.w.xBawahan->dxTarvesaItems3Click();
        StringGrid* list = f.w.xBawahan->sg_bawahan;
        int row = -1;
        for (int r = 1; r < list->rowCount(); ++r)
            if (list->cell(r, 1) == kPelaksana)
                row = r;
        QVERIFY2(row > 1, "the test needs a row other than the first");
        list->setCurrentRow(row);
        const QString name = list->cell(row, 2);
        f.w.xBawahan->btbAktivitasHarianClick();
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xBwAktivitas));
        QVERIFY(testdb::rootExec(kSchema, "UPDATE cache_pns SET nama_lengkap = 'Nama Baru Di Server' WHERE nip = '" +
                                              kPelaksana + "'"));
        f.w.xBwAktivitas->SpeedButton33->click();
        QCOMPARE(f.w.activePage(), static_cast<QWidget*>(f.w.xBawahan));
        QCOMPARE(list->currentRow(), row);
        QCOMPARE(list->cell(row, 2), name);
        QVERIFY2(f.msgs.log.isEmpty(), qPrintable(f.msgs.texts().join('|')));
    }
};

QTEST_MAIN(TestSupervisionPages)
#include "test_supervision_pages.moc"
