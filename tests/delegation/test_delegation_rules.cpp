// The server's rules of delegation, called as the application account the
// way a client that skips its own checks would: bound to a person of each
// level, anonymous, for another agency, and on parallel connections.
#include "appcaller.h"
#include "delegationfixture.h"
#include "orgfixture.h"
#include "testdb.h"


#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_delegation_rules");
const QStringList kRefused{QStringLiteral("refused")};
const QString kCalon = kCandidate; // Ahli Muda of Badan Contoh, no account

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QString day(int offset)
{
    return root(QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(offset));
}

QStringList as(const QString& nip, const QString& sql, const db::Params& params = {})
{
    AppCaller c(kSchema, nip);
    return c.call(sql, params);
}

// Only the given columns (by position) of each row.
QStringList columns(const QStringList& rows, std::initializer_list<int> cols)
{
    if (rows == kRefused)
        return rows;
    QStringList out;
    for (const QString& r : rows) {
        const QStringList cells = r.split('|');
        QStringList picked;
        for (int c : cols)
            picked << cells.value(c);
        out << picked.join('|');
    }
    return out;
}

const QString kAdd = QStringLiteral("CALL kinerja_delegasi_tambah(:var_induk, :var_unit, :var_nip, :var_by)");

db::Params addParams(const QString& induk, const QString& unit, const QString& nip, const QString& by)
{
    return {{"var_induk", induk}, {"var_unit", unit}, {"var_nip", nip}, {"var_by", by}};
}

QString activeOf(const QString& nip)
{
    return root("SELECT COUNT(*) FROM delegasi WHERE nip = '" + nip +
                "' AND (date_end IS NULL OR date_end >= CURDATE())");
}

QString superiorOf(const QString& nip)
{
    return root("SELECT COALESCE(kinerja_fn_atasan_nip('" + nip + "'), '-')");
}

QStringList endDate(const QString& caller, const QString& proc, const QString& nip, const QString& date)
{
    return as(caller, QStringLiteral("CALL %1(:var_nip, :var_tanggal)").arg(proc),
              {{"var_nip", nip}, {"var_tanggal", date}});
}

} // namespace

class TestDelegationRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(createDelegationSchema(kSchema));
    }

    // The schema back as the fixtures left it.
    void init()
    {
        QVERIFY(testdb::restoreSchema(kSchema));
    }

    // ---------------------------------------------------------------- list

    void listByLevelAndAgency_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("induk"); // "*" for the list of all agencies
        QTest::addColumn<QString>("nama");
        QTest::addColumn<QStringList>("expected"); // nip|status_aktif
        const QString guru = kGuru + "|AKTIF";
        const QString analis = kAnalis + "|TIDAK AKTIF";
        const QString calon = kCalon + "|AKTIF";
        QTest::newRow("Admin System, all: in force first, newest first")
            << kKepala << "*" << "" << QStringList{calon, guru, analis};
        QTest::newRow("Admin System, another agency") << kKepala << "U2" << "" << QStringList{calon};
        QTest::newRow("Admin SKPD, own agency") << kKabid << "U1" << "" << QStringList{guru, analis};
        QTest::newRow("Admin SKPD, another agency") << kKabid << "U2" << "" << kRefused;
        QTest::newRow("Admin SKPD, all agencies") << kKabid << "*" << "" << kRefused;
        QTest::newRow("Admin Sektira reads its own agency") << kAnalis << "U1" << "" << QStringList{guru, analis};
        QTest::newRow("Admin Sektira, another agency") << kAnalis << "U2" << "" << kRefused;
        QTest::newRow("Admin Sektira, all agencies") << kAnalis << "*" << "" << kRefused;
        QTest::newRow("Supervisor") << kPlt << "U1" << "" << kRefused;
        QTest::newRow("level text that only looks like Admin System") << kPengelola << "*" << "" << kRefused;
        QTest::newRow("anonymous") << "" << "*" << "" << kRefused;
        QTest::newRow("name fragment, any case") << kKepala << "*" << "GURU" << QStringList{guru};
        QTest::newRow("NIP fragment") << kKabid << "U1" << "19900303" << QStringList{analis};
        QTest::newRow("wildcard is literal") << kKepala << "*" << "%" << QStringList{};
    }

    void listByLevelAndAgency()
    {
        QFETCH(QString, caller);
        QFETCH(QString, induk);
        QFETCH(QString, nama);
        QFETCH(QStringList, expected);
        const QStringList rows =
            induk == "*" ? as(caller, "CALL kinerja_delegasi_tampil_data_all(:var_nama)", {{"var_nama", nama}})
                         : as(caller, "CALL kinerja_delegasi_tampil_data(:var_induk, :var_nama)",
                              {{"var_induk", induk}, {"var_nama", nama}});
        QCOMPARE(columns(rows, {1, 8}), expected);
    }

    void listRow()
    {
        const QStringList rows = as(kKabid, "CALL kinerja_delegasi_tampil_data(:a, :b)", {{"a", "U1"}, {"b", "Guru"}});
        QCOMPARE(rows.size(), 1);
        // The receiving unit by its head's position; dates in the one text form.
        QCOMPARE(rows.first(), "1|" + kGuru + "|Guru Enam|Guru Uji|SD Negeri Uji|Kepala Bidang Dua|" + day(-5) +
                                   "||AKTIF|" + kKabid);
        const QStringList ended = as(kKabid, "CALL kinerja_delegasi_tampil_data(:a, :b)", {{"a", "U1"}, {"b", kAnalis}});
        QCOMPARE(columns(ended, {6, 7, 8}), QStringList{day(-30) + "|" + day(-10) + "|TIDAK AKTIF"});
    }

    void notes()
    {
        QCOMPARE(as("", "CALL kinerja_text_get(:var_id)", {{"var_id", "1"}}), kRefused);
        QCOMPARE(columns(as(kAnalis, "CALL kinerja_text_get(:var_id)", {{"var_id", "1"}}), {0, 1}),
                 QStringList{"1|Catatan pertama uji"});
        QCOMPARE(columns(as(kKabid, "CALL kinerja_text_get(:var_id)", {{"var_id", "2"}}), {1}),
                 QStringList{"Catatan kedua uji"});
        QCOMPARE(as(kKabid, "CALL kinerja_text_get(:var_id)", {{"var_id", "1 OR 1"}}), QStringList{});
        QCOMPARE(as(kKabid, "CALL kinerja_text_get(:var_id)", {{"var_id", "99"}}), QStringList{});
    }

    // ---------------------------------------------------------------- wizard lists

    void officialsAndUnits_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("nama");
        QTest::addColumn<QString>("induk");
        QTest::addColumn<QStringList>("expected");
        const QString all = QStringLiteral("CALL kinerja_jf_muda_keatas_all(:var_nama)");
        const QString perInduk = QStringLiteral("CALL kinerja_jf_muda_keatas_per_induk(:var_nama, :var_induk)");
        const QString units = QStringLiteral("CALL kinerja_delegasi_pilih_unit(:var_induk, :var_nama)");
        // nip|nama_lengkap|delegasi_status|jenjang|induk_id
        const QStringList u1{kPlt + "|Analis Lima||Ahli Muda|U1", kAnalis + "|Analis Tiga|TIDAK AKTIF|Ahli Muda|U1",
                             kGuru + "|Guru Enam|AKTIF|Ahli Madya|U1"};
        // Functional officials of the levels Muda and up only: no executor,
        // no Ahli Pertama, no structural head.
        QTest::newRow("Admin SKPD: own agency") << kKabid << perInduk << "" << "U1" << u1;
        QTest::newRow("Admin SKPD: another agency") << kKabid << perInduk << "" << "U2" << kRefused;
        QTest::newRow("Admin SKPD: all agencies") << kKabid << all << "" << "" << kRefused;
        QTest::newRow("Admin System: all agencies")
            << kKepala << all << "" << "" << (QStringList{kCalon + "|Calon Delapan|AKTIF|Ahli Muda|U2"} + u1);
        QTest::newRow("Admin System: name fragment") << kKepala << all << "analis" << "" << u1.mid(0, 2);
        QTest::newRow("Admin Sektira adds nothing") << kAnalis << perInduk << "" << "U1" << kRefused;
        QTest::newRow("anonymous") << "" << all << "" << "" << kRefused;
        // induk_id|unit_id|nama_unit|nama_lengkap: units whose head holds an
        // administrator position (not the school, not the agency itself); a
        // vacant one shows who acts in it.
        QTest::newRow("units of the own agency")
            << kKabid << units << "" << "U1"
            << QStringList{"U1|U1B|Kepala Bidang Dua|Plt. Analis Lima", "U1|U1A|Kepala Bidang Satu|Kabid Dua"};
        QTest::newRow("units by name") << kKabid << units << "DUA" << "U1"
                                       << QStringList{"U1|U1B|Kepala Bidang Dua|Plt. Analis Lima"};
        QTest::newRow("units of another agency") << kKabid << units << "" << "U2" << kRefused;
        QTest::newRow("Admin System, a vacant unit") << kKepala << units << "" << "U2"
                                                     << QStringList{"U2|U2A|Kepala Bagian Contoh|-"};
        QTest::newRow("Admin Sektira picks no unit") << kAnalis << units << "" << "U1" << kRefused;
    }

    void officialsAndUnits()
    {
        QFETCH(QString, caller);
        QFETCH(QString, sql);
        QFETCH(QString, nama);
        QFETCH(QString, induk);
        QFETCH(QStringList, expected);
        db::Params params{{"var_nama", nama}};
        if (sql.contains(":var_induk"))
            params.push_back({"var_induk", induk});
        const QStringList rows = as(caller, sql, params);
        const bool officials = !sql.contains("pilih_unit");
        QCOMPARE(officials ? columns(rows, {0, 1, 2, 4, 6}) : rows, expected);
    }

    // ---------------------------------------------------------------- adding

    void adding_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("induk");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("by");
        QTest::addColumn<bool>("stored");
        QTest::newRow("Admin SKPD, after an ended one") << kKabid << "U1" << "U1A" << kAnalis << kKabid << true;
        QTest::newRow("Admin SKPD, first delegation") << kKabid << "U1" << "U1B" << kPlt << kKabid << true;
        QTest::newRow("Admin System, anywhere") << kKepala << "U1" << "U1A" << kPlt << kKepala << true;
        QTest::newRow("one in force already") << kKabid << "U1" << "U1A" << kGuru << kKabid << false;
        QTest::newRow("a school is no administrator unit") << kKabid << "U1" << "U1S" << kAnalis << kKabid << false;
        QTest::newRow("nor is the agency itself") << kKabid << "U1" << "U1" << kAnalis << kKabid << false;
        QTest::newRow("unit of another agency") << kKepala << "U1" << "U2A" << kAnalis << kKepala << false;
        QTest::newRow("unknown unit") << kKabid << "U1" << "U9" << kAnalis << kKabid << false;
        QTest::newRow("official of another agency") << kKabid << "U2" << "U2A" << kCalon << kKabid << false;
        QTest::newRow("agency that is not the official's") << kKabid << "U1" << "U1A" << kCalon << kKabid << false;
        QTest::newRow("an executor") << kKabid << "U1" << "U1A" << kPelaksana << kKabid << false;
        QTest::newRow("a structural head") << kKepala << "U1" << "U1B" << kKabid << kKepala << false;
        QTest::newRow("unknown official") << kKabid << "U1" << "U1A" << "199901012020011099" << kKabid << false;
        QTest::newRow("Admin Sektira") << kAnalis << "U1" << "U1A" << kPlt << kAnalis << false;
        QTest::newRow("Supervisor") << kPlt << "U1" << "U1A" << kAnalis << kPlt << false;
        QTest::newRow("entered in another's name") << kKabid << "U1" << "U1A" << kPlt << kKepala << false;
        QTest::newRow("anonymous") << "" << "U1" << "U1A" << kPlt << kKabid << false;
    }

    void adding()
    {
        QFETCH(QString, caller);
        QFETCH(QString, induk);
        QFETCH(QString, unit);
        QFETCH(QString, nip);
        QFETCH(QString, by);
        QFETCH(bool, stored);
        const QString before = root("SELECT COUNT(*) FROM delegasi");
        const QString logs = root("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi LIKE 'Delegasi%'");
        QCOMPARE(as(caller, kAdd, addParams(induk, unit, nip, by)), stored ? QStringList{} : kRefused);
        if (!stored) {
            QCOMPARE(root("SELECT COUNT(*) FROM delegasi"), before);
            QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi LIKE 'Delegasi%'"), logs);
            return;
        }
        // From the moment of storing, open-ended, by the caller; logged.
        QCOMPARE(root("SELECT CONCAT_WS('|', induk_id, unit_id, date_start > NOW() - INTERVAL 1 MINUTE, "
                      "date_start <= NOW(), COALESCE(date_end, '-'), created_by) FROM delegasi WHERE nip = '" +
                      nip + "' ORDER BY id DESC LIMIT 1"),
                 induk + "|" + unit + "|1|1|-|" + by);
        QCOMPARE(root("SELECT CONCAT_WS('|', nip, aksi, keterangan, target) FROM kinerja_log_proses "
                      "WHERE aksi LIKE 'Delegasi%'"),
                 by + "|Delegasi - Tambah|Unit " + unit + "|" + nip);
        QCOMPARE(activeOf(nip), QStringLiteral("1"));
        // A second one is refused now.
        QCOMPARE(as(caller, kAdd, addParams(induk, unit, nip, by)), kRefused);
    }

    void addingDuringMaintenance()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET nilai = '1' WHERE nama = 'is_maintenance'"));
        QCOMPARE(as(kKabid, kAdd, addParams("U1", "U1A", kPlt, kKabid)), kRefused);
        QCOMPARE(endDate(kKabid, "kinerja_delegasi_tanggal_update", kGuru, day(3)), kRefused);
        QCOMPARE(activeOf(kPlt), QStringLiteral("0"));
    }

    // Two administrators add a delegation for the same official at once:
    // the second waits for the official's row, then finds the first.
    void raceOfTwoAdministrators()
    {
        AppCaller kabid(kSchema, kKabid);
        AppCaller kepala(kSchema, kKepala);
        QCOMPARE(kabid.call("START TRANSACTION"), QStringList{});
        QCOMPARE(kabid.call(kAdd, addParams("U1", "U1A", kAnalis, kKabid)), QStringList{});
        Racer second([&] { return kepala.call(kAdd, addParams("U1", "U1B", kAnalis, kKepala)); });
        QVERIFY(second.blockedOnLock(kSchema));
        QCOMPARE(kabid.call("COMMIT"), QStringList{});
        QCOMPARE(second.result(), kRefused);
        QCOMPARE(activeOf(kAnalis), QStringLiteral("1"));
        QCOMPARE(root("SELECT unit_id FROM delegasi WHERE nip = '" + kAnalis + "' AND date_end IS NULL"),
                 QStringLiteral("U1A"));
    }

    // Both fired together, many times over: never two in force.
    void parallelInsertsNeverBothPass()
    {
        for (int round = 0; round < 5; ++round) {
            QVERIFY(testdb::rootExec(kSchema, "DELETE FROM delegasi WHERE nip = '" + kPlt + "'"));
            AppCaller kabid(kSchema, kKabid);
            AppCaller kepala(kSchema, kKepala);
            Racer a([&] { return kabid.call(kAdd, addParams("U1", "U1A", kPlt, kKabid)); });
            Racer b([&] { return kepala.call(kAdd, addParams("U1", "U1B", kPlt, kKepala)); });
            QStringList results{a.result().join(','), b.result().join(',')};
            results.sort();
            QCOMPARE(results, (QStringList{QString(), QStringLiteral("refused")}));
            QCOMPARE(activeOf(kPlt), QStringLiteral("1"));
        }
    }

    // ---------------------------------------------------------------- end date

    void endDateRules_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("check");  // tanggal_status, or "refused"
        QTest::addColumn<QString>("stored"); // date_end afterwards ("-" open); empty when refused
        // Guru Enam's delegation started five days ago.
        QTest::newRow("a day before the start") << kKabid << kGuru << day(-6) << "INVALID" << "";
        QTest::newRow("the start day ends it tonight") << kKabid << kGuru << day(-5) << "VALID" << day(-5);
        QTest::newRow("today") << kKabid << kGuru << day(0) << "VALID" << day(0);
        QTest::newRow("in a month") << kKabid << kGuru << day(30) << "VALID" << day(30);
        QTest::newRow("with a time") << kKabid << kGuru << day(7) + " 13:14:15" << "VALID" << day(7);
        QTest::newRow("no such day") << kKabid << kGuru << "2026-02-30" << "INVALID" << "";
        QTest::newRow("day first") << kKabid << kGuru << QDate::currentDate().toString("dd/MM/yyyy") << "INVALID"
                                   << "";
        QTest::newRow("empty") << kKabid << kGuru << "" << "INVALID" << "";
        QTest::newRow("ended delegation") << kKabid << kAnalis << day(5) << "TIDAK AKTIF" << "";
        QTest::newRow("never delegated") << kKabid << kPlt << day(5) << "TIDAK AKTIF" << "";
        QTest::newRow("Admin System, another agency") << kKepala << kCalon << day(5) << "VALID" << day(5);
        QTest::newRow("Admin SKPD, another agency") << kKabid << kCalon << day(5) << "refused" << "";
        QTest::newRow("Admin Sektira") << kAnalis << kGuru << day(5) << "refused" << "";
        QTest::newRow("Supervisor") << kPlt << kGuru << day(5) << "refused" << "";
        QTest::newRow("anonymous") << "" << kGuru << day(5) << "refused" << "";
    }

    void endDateRules()
    {
        QFETCH(QString, caller);
        QFETCH(QString, nip);
        QFETCH(QString, date);
        QFETCH(QString, check);
        QFETCH(QString, stored);
        const QString rowsBefore = root("SELECT GROUP_CONCAT(CONCAT(id, COALESCE(date_end, '-')) ORDER BY id) "
                                        "FROM delegasi");
        const QStringList answer = endDate(caller, "kinerja_delegasi_tanggal_cek", nip, date);
        QCOMPARE(answer, check == "refused" ? kRefused : QStringList{check});
        // The change checks again whatever the check said.
        const QStringList update = endDate(caller, "kinerja_delegasi_tanggal_update", nip, date);
        if (stored.isEmpty()) {
            QCOMPARE(update, kRefused);
            QCOMPARE(root("SELECT GROUP_CONCAT(CONCAT(id, COALESCE(date_end, '-')) ORDER BY id) FROM delegasi"),
                     rowsBefore);
            QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi LIKE 'Delegasi%'"), QStringLiteral("0"));
            return;
        }
        QCOMPARE(update, QStringList{});
        QCOMPARE(root("SELECT DATE(date_end) FROM delegasi WHERE nip = '" + nip + "' ORDER BY id DESC LIMIT 1"),
                 stored);
        QCOMPARE(root("SELECT CONCAT_WS('|', nip, aksi, keterangan, target) FROM kinerja_log_proses "
                      "WHERE aksi LIKE 'Delegasi%'"),
                 caller + "|Delegasi - Ubah|Tanggal selesai " + stored + "|" + nip);
        // The same date again would change nothing: the check says so, and
        // the change is refused.
        if (stored >= day(0))
            QCOMPARE(endDate(caller, "kinerja_delegasi_tanggal_cek", nip, stored), QStringList{"SAMA"});
        QCOMPARE(endDate(caller, "kinerja_delegasi_tanggal_update", nip, stored), kRefused);
    }

    // The delegation belongs to the agency that recorded it, as the list
    // shows it: an official who moved since stays the recording agency's
    // administrator's to end, and no other agency's.
    void endDateFollowsTheDelegationsAgency()
    {
        QVERIFY(testdb::rootExec(kSchema, "UPDATE cache_pns SET induk_id = 'U2', nama_induk = 'Badan Contoh' "
                                          "WHERE nip = '" + kGuru + "'"));
        QCOMPARE(endDate(kKabid, "kinerja_delegasi_tanggal_cek", kGuru, day(4)), QStringList{"VALID"});
        QCOMPARE(endDate(kKabid, "kinerja_delegasi_tanggal_update", kGuru, day(4)), QStringList{});
        QCOMPARE(root("SELECT DATE(date_end) FROM delegasi WHERE id = 1"), day(4));
        // Calon Delapan's delegation is Badan Contoh's: moving the official
        // into Dinas Uji Coba gives it to nobody there.
        QVERIFY(testdb::rootExec(kSchema, "UPDATE cache_pns SET induk_id = 'U1' WHERE nip = '" + kCalon + "'"));
        QCOMPARE(endDate(kKabid, "kinerja_delegasi_tanggal_cek", kCalon, day(4)), kRefused);
        QCOMPARE(endDate(kKabid, "kinerja_delegasi_tanggal_update", kCalon, day(4)), kRefused);
        QCOMPARE(root("SELECT COALESCE(date_end, '-') FROM delegasi WHERE id = 3"), QStringLiteral("-"));
    }

    // An end date in the past ends the delegation at once; after that
    // nothing about it changes any more.
    void endedDelegationStaysEnded()
    {
        QCOMPARE(endDate(kKabid, "kinerja_delegasi_tanggal_update", kGuru, day(-2)), QStringList{});
        QCOMPARE(activeOf(kGuru), QStringLiteral("0"));
        QCOMPARE(endDate(kKabid, "kinerja_delegasi_tanggal_cek", kGuru, day(10)), QStringList{"TIDAK AKTIF"});
        QCOMPARE(endDate(kKepala, "kinerja_delegasi_tanggal_update", kGuru, day(10)), kRefused);
        QCOMPARE(root("SELECT DATE(date_end) FROM delegasi WHERE id = 1"), day(-2));
        // A new one may follow.
        QCOMPARE(as(kKabid, kAdd, addParams("U1", "U1A", kGuru, kKabid)), QStringList{});
    }

    // ---------------------------------------------------------------- effect

    // The delegation is the superior rule that lists, approvals and progress
    // share: in force at once, gone once ended.
    void delegationMovesTheSuperior()
    {
        QCOMPARE(superiorOf(kGuru), kPlt);   // in force: acting head of Bidang Dua
        QCOMPARE(superiorOf(kAnalis), kKabid); // ended: own position's superior
        QCOMPARE(as(kKabid, kAdd, addParams("U1", "U1B", kAnalis, kKabid)), QStringList{});
        QCOMPARE(superiorOf(kAnalis), kPlt);
        // The lists follow: Analis Tiga is led directly by the acting head,
        // and two levels down by Kabid Dua above him.
        const QString list = QStringLiteral("CALL kinerja_show_bawahan(:a, :b, 'x,fungsional', 'x,Definitif,Plt')");
        QCOMPARE(columns(as(kPlt, list, {{"a", kPlt}, {"b", kAnalis}}), {0, 6}),
                 QStringList{kAnalis + "|Bawahan Langsung"});
        QCOMPARE(columns(as(kKabid, list, {{"a", kKabid}, {"b", kAnalis}}), {0, 6}),
                 QStringList{kAnalis + "|Bawahan Dua Tingkat"});
        QVERIFY(testdb::rootExec(kSchema, "UPDATE delegasi SET date_end = CURDATE() - INTERVAL 1 DAY "
                                          "WHERE nip = '" + kAnalis + "' AND date_end IS NULL"));
        QCOMPARE(superiorOf(kAnalis), kKabid);
        // A unit nobody heads or acts for leaves the official without a
        // superior: the list shows such a unit with "-".
        QCOMPARE(superiorOf(kCalon), QStringLiteral("-"));
        // Progress follows within the hour: recomputed by an hourly event.
        QCOMPARE(root("SELECT CONCAT(INTERVAL_VALUE, INTERVAL_FIELD, STATUS) FROM information_schema.EVENTS WHERE "
                      "EVENT_SCHEMA = DATABASE() AND EVENT_NAME = 'kinerja_progress_tiap_jam'"),
                 QStringLiteral("1HOURENABLED"));
    }
};

QTEST_GUILESS_MAIN(TestDelegationRules)
#include "test_delegation_rules.moc"
