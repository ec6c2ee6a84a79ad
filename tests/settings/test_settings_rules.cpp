// The setting store's rules on the server, called as the application
// account the way a client that skips its own checks would: who may read
// and change settings, which values are refused, the log of every change
// and the row lock that keeps the log's old values true.
#include "appcaller.h"
#include "orgfixture.h"

#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_settings_rules");
const QString kJenis = QStringLiteral("app_kinerja");
const QStringList kRefused{QStringLiteral("refused")};
const QStringList kDone{};

const QString kSaveValue =
    QStringLiteral("CALL `kinerja_app_setting_save_value` (:var_nilai, :var_jenis, :var_nama)");
const QString kSaveStart =
    QStringLiteral("CALL `kinerja_app_setting_save_tanggal_awal` (:var_date, :var_jenis, :var_nama) ");
const QString kSaveEnd =
    QStringLiteral("CALL `kinerja_app_setting_save_tanggal_akhir` (:var_date, :var_jenis, :var_nama) ");
const QString kLoadValue = QStringLiteral("CALL `kinerja_app_setting_load_value` (:var_jenis, :var_nama)");
const QString kLoadStart = QStringLiteral("CALL `kinerja_app_setting_load_tanggal_awal` (:var_jenis, :var_nama) ");
const QString kLoadEnd = QStringLiteral("CALL `kinerja_app_setting_load_tanggal_akhir` (:var_jenis, :var_nama) ");

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

class Caller : public AppCaller {
public:
    explicit Caller(const QString& nip = {}) : AppCaller(kSchema, nip) {}
};

QStringList saveValue(const QString& caller, const QString& nama, const QString& nilai,
                      const QString& jenis = kJenis)
{
    return Caller(caller).call(kSaveValue, {{"var_nilai", nilai}, {"var_jenis", jenis}, {"var_nama", nama}});
}

QStringList saveWindow(const QString& caller, bool end, const QString& nama, const QString& date,
                       const QString& jenis = kJenis)
{
    return Caller(caller).call(end ? kSaveEnd : kSaveStart,
                               {{"var_date", date}, {"var_jenis", jenis}, {"var_nama", nama}});
}

QStringList load(const QString& caller, const QString& sql, const QString& nama, const QString& jenis = kJenis)
{
    return Caller(caller).call(sql, {{"var_jenis", jenis}, {"var_nama", nama}});
}

// Everything a refused save must leave alone: the whole store and the log.
QString store()
{
    return root("SELECT CONCAT((SELECT GROUP_CONCAT(CONCAT_WS('/', nama, COALESCE(nilai, '-'), "
                "COALESCE(tanggal_awal, '-'), COALESCE(tanggal_akhir, '-')) ORDER BY nama SEPARATOR ';') "
                "FROM kinerja_setting), '#', (SELECT COUNT(*) FROM kinerja_log_proses))");
}

QString logRows()
{
    return root("SELECT COALESCE(GROUP_CONCAT(CONCAT_WS('|', nip, aksi, keterangan, COALESCE(target, '-')) "
                "ORDER BY id SEPARATOR '\\n'), '') FROM kinerja_log_proses");
}

void setWindow(const QString& nama, const QString& awal, const QString& akhir)
{
    QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_setting SET tanggal_awal = " + awal + ", tanggal_akhir = " +
                                          akhir + " WHERE nama = '" + nama + "'"));
}

} // namespace

class TestSettingsRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql")})); }

    void init()
    {
        // Every case starts from the stored values of the schema's load.
        QVERIFY(testdb::rootExec(kSchema, "DELETE FROM kinerja_log_proses; "
                                          "UPDATE kinerja_setting SET nilai = '0' WHERE nama = 'is_maintenance'; "
                                          "UPDATE kinerja_setting SET nilai = '1000' WHERE nama = 'target_skr_bulanan'; "
                                          "UPDATE kinerja_setting SET nilai = '5' WHERE nama = 'aktivitas_auto_approve'"));
        setWindow("kualitas_mutu", "'2026-01-01 00:00:00'", "'2026-12-31 23:59:59'");
    }

    // ------------------------------------------------------------ who may

    void whoMaySave_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("anonymous") << QString() << false;
        QTest::newRow("Basic User") << kPelaksana << false;
        QTest::newRow("Supervisor") << kPlt << false;
        QTest::newRow("Admin SKPD") << kKabid << false;
        QTest::newRow("Admin Sektira") << kAnalis << false;
        QTest::newRow("level text with two blanks") << kPengelola << false;
        QTest::newRow("Admin System") << kKepala << true;
    }
    void whoMaySave()
    {
        QFETCH(QString, caller);
        QFETCH(bool, allowed);
        const QString before = store();
        const QStringList expected = allowed ? kDone : kRefused;
        QCOMPARE(saveValue(caller, "target_skr_bulanan", "1200"), expected);
        QCOMPARE(saveWindow(caller, false, "kualitas_mutu", "2026-02-01 00:00:00"), expected);
        QCOMPARE(saveWindow(caller, true, "kualitas_mutu", "2026-11-30 23:59:59"), expected);
        if (!allowed) {
            QCOMPARE(store(), before);
            return;
        }
        QCOMPARE(root("SELECT CONCAT_WS('/', nilai, (SELECT CONCAT_WS('/', tanggal_awal, tanggal_akhir) "
                      "FROM kinerja_setting WHERE nama = 'kualitas_mutu')) FROM kinerja_setting "
                      "WHERE nama = 'target_skr_bulanan'"),
                 QStringLiteral("1200/2026-02-01 00:00:00/2026-11-30 23:59:59"));
    }

    void whoMayRead()
    {
        // The server applies the settings to everybody: any logged-in
        // caller may read them, nobody anonymous.
        QCOMPARE(load({}, kLoadValue, "target_skr_bulanan"), kRefused);
        QCOMPARE(load({}, kLoadStart, "kualitas_mutu"), kRefused);
        QCOMPARE(load({}, kLoadEnd, "kualitas_mutu"), kRefused);
        for (const QString& nip : {kPelaksana, kKepala}) {
            QCOMPARE(load(nip, kLoadValue, "target_skr_bulanan"), QStringList{"1000"});
            QCOMPARE(load(nip, kLoadStart, "kualitas_mutu"), QStringList{"2026-01-01 00:00:00"});
            QCOMPARE(load(nip, kLoadEnd, "kualitas_mutu"), QStringList{"2026-12-31 23:59:59"});
        }
    }

    void loadShapes()
    {
        // Every load answers a column "nilai"; an unknown setting no row, a
        // window read as a value and an unset end an empty one.
        QCOMPARE(load(kPelaksana, kLoadValue, "tidak_ada"), QStringList{});
        QCOMPARE(load(kPelaksana, kLoadStart, "is_maintenance", "lain"), QStringList{});
        QCOMPARE(load(kPelaksana, kLoadValue, "kualitas_mutu"), QStringList{""});
        QCOMPARE(load(kPelaksana, kLoadEnd, "is_maintenance"), QStringList{""});
        QCOMPARE(load(kPelaksana, kLoadValue, "is_maintenance"), QStringList{"0"});
        db::Connection conn;
        conn.open(testdb::appSettings(kSchema));
        db::Query q(conn);
        q.exec(QStringLiteral("CALL kinerja_sesi_ikat(:var_token)"),
               {{"var_token", testdb::sessionToken(kSchema, kPelaksana)}});
        for (const QString& sql : {kLoadValue, kLoadStart, kLoadEnd}) {
            const db::ResultSet rs = q.open(sql, {{"var_jenis", kJenis}, {"var_nama", "aktivitas_harian"}});
            QCOMPARE(rs.columnNames(), QStringList{"nilai"});
        }
    }

    // ------------------------------------------------------------ values

    void badValuesRefused_data()
    {
        QTest::addColumn<QString>("nama");
        QTest::addColumn<QString>("nilai");
        QTest::addColumn<QString>("jenis");
        const QString app = kJenis;
        QTest::newRow("empty number") << "target_skr_bulanan" << "" << app;
        QTest::newRow("blank number") << "target_skr_bulanan" << "   " << app;
        QTest::newRow("leading blank") << "aktivitas_input_day_max" << " 5" << app;
        QTest::newRow("trailing line break") << "aktivitas_input_day_max" << "5\n" << app;
        QTest::newRow("negative") << "aktivitas_input_day_max" << "-1" << app;
        QTest::newRow("decimal") << "aktivitas_verifikasi_day_max" << "1.5" << app;
        QTest::newRow("letters") << "aktivitas_validasi_day_max" << "lima" << app;
        QTest::newRow("zero days") << "aktivitas_auto_approve" << "0" << app;
        QTest::newRow("more days than a year") << "aktivitas_input_day_max" << "366" << app;
        QTest::newRow("more minutes than a month") << "target_skr_bulanan" << "44641" << app;
        QTest::newRow("more minutes than a day") << "max_skr_operasional" << "1441" << app;
        QTest::newRow("zero minutes") << "max_skr_operasional" << "0" << app;
        QTest::newRow("huge") << "target_skr_bulanan" << "99999999999999999999" << app;
        QTest::newRow("switch 2") << "is_maintenance" << "2" << app;
        QTest::newRow("switch empty") << "is_maintenance" << "" << app;
        QTest::newRow("switch 00") << "is_maintenance" << "00" << app;
        QTest::newRow("switch on") << "is_maintenance" << "on" << app;
        QTest::newRow("window as a value") << "aktivitas_harian" << "5" << app;
        QTest::newRow("unknown name") << "tidak_ada" << "5" << app;
        QTest::newRow("other group") << "target_skr_bulanan" << "1200" << "lain";
    }
    void badValuesRefused()
    {
        QFETCH(QString, nama);
        QFETCH(QString, nilai);
        QFETCH(QString, jenis);
        const QString before = store();
        QCOMPARE(saveValue(kKepala, nama, nilai, jenis), kRefused);
        QCOMPARE(store(), before);
    }

    void goodValuesStored_data()
    {
        QTest::addColumn<QString>("nama");
        QTest::addColumn<QString>("nilai");
        QTest::addColumn<QString>("stored");
        QTest::newRow("switch on") << "is_maintenance" << "1" << "1";
        QTest::newRow("one day") << "aktivitas_auto_approve" << "1" << "1";
        QTest::newRow("a year") << "aktivitas_input_day_max" << "365" << "365";
        QTest::newRow("leading zeros dropped") << "target_skr_bulanan" << "0750" << "750";
        QTest::newRow("minutes of a month") << "target_skr_bulanan" << "44640" << "44640";
        QTest::newRow("minutes of a day") << "max_skr_operasional" << "1440" << "1440";
        QTest::newRow("additional tasks off") << "tugas_tambahan_max" << "0" << "0";
    }
    void goodValuesStored()
    {
        QFETCH(QString, nama);
        QFETCH(QString, nilai);
        QFETCH(QString, stored);
        QCOMPARE(saveValue(kKepala, nama, nilai), kDone);
        QCOMPARE(root("SELECT nilai FROM kinerja_setting WHERE nama = '" + nama + "'"), stored);
        QCOMPARE(load(kKepala, kLoadValue, nama), QStringList{stored});
    }

    void badMomentsRefused_data()
    {
        QTest::addColumn<bool>("end");
        QTest::addColumn<QString>("nama");
        QTest::addColumn<QString>("date");
        // The stored window of kualitas_mutu: 2026-01-01 00:00:00 to 2026-12-31 23:59:59.
        QTest::newRow("no digit at all") << false << "kualitas_mutu" << "    -  -     :  :  ";
        QTest::newRow("empty") << true << "kualitas_mutu" << "";
        QTest::newRow("seconds missing") << false << "kualitas_mutu" << "2026-02-01 00:00:  ";
        QTest::newRow("day half typed") << true << "kualitas_mutu" << "2026-06-1  00:00:00";
        QTest::newRow("first year digit blank") << false << "kualitas_mutu" << " 026-02-01 00:00:00";
        QTest::newRow("date only") << false << "kualitas_mutu" << "2026-02-01";
        QTest::newRow("30 February") << false << "kualitas_mutu" << "2026-02-30 00:00:00";
        QTest::newRow("29 February of a common year") << true << "kualitas_mutu" << "2026-02-29 10:00:00";
        QTest::newRow("month 13") << true << "kualitas_mutu" << "2026-13-01 00:00:00";
        QTest::newRow("hour 24") << true << "kualitas_mutu" << "2026-06-01 24:00:00";
        QTest::newRow("minute 60") << true << "kualitas_mutu" << "2026-06-01 10:60:00";
        QTest::newRow("second 60") << true << "kualitas_mutu" << "2026-06-01 10:00:60";
        QTest::newRow("last century") << false << "kualitas_mutu" << "1999-12-31 00:00:00";
        QTest::newRow("next century") << true << "kualitas_mutu" << "2100-01-01 00:00:00";
        QTest::newRow("slashes") << false << "kualitas_mutu" << "2026/02/01 00:00:00";
        QTest::newRow("end before the stored start") << true << "kualitas_mutu" << "2025-12-31 23:59:59";
        QTest::newRow("start after the stored end") << false << "kualitas_mutu" << "2027-01-01 00:00:00";
        QTest::newRow("a value as a window") << false << "target_skr_bulanan" << "2026-02-01 00:00:00";
        QTest::newRow("unknown window") << true << "tidak_ada" << "2026-02-01 00:00:00";
    }
    void badMomentsRefused()
    {
        QFETCH(bool, end);
        QFETCH(QString, nama);
        QFETCH(QString, date);
        const QString before = store();
        QCOMPARE(saveWindow(kKepala, end, nama, date), kRefused);
        QCOMPARE(store(), before);
    }

    void momentsStored_data()
    {
        QTest::addColumn<bool>("end");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("stored");
        QTest::newRow("start") << false << "2026-03-04 05:06:07" << "2026-03-04 05:06:07";
        QTest::newRow("first hour digit blank") << false << "2026-03-04  8:30:00" << "2026-03-04 08:30:00";
        QTest::newRow("leap day") << true << "2028-02-29 23:59:59" << "2028-02-29 23:59:59";
        QTest::newRow("end equal to the start") << true << "2026-01-01 00:00:00" << "2026-01-01 00:00:00";
        QTest::newRow("start equal to the end") << false << "2026-12-31 23:59:59" << "2026-12-31 23:59:59";
    }
    void momentsStored()
    {
        QFETCH(bool, end);
        QFETCH(QString, date);
        QFETCH(QString, stored);
        QCOMPARE(saveWindow(kKepala, end, "kualitas_mutu", date), kDone);
        QCOMPARE(load(kKepala, end ? kLoadEnd : kLoadStart, "kualitas_mutu"), QStringList{stored});
    }

    void windowWithoutStoredEnd()
    {
        // A window never set has nothing to be checked against.
        setWindow("sasaran_kerja", "NULL", "NULL");
        QCOMPARE(saveWindow(kKepala, false, "sasaran_kerja", "2030-01-01 00:00:00"), kDone);
        QCOMPARE(saveWindow(kKepala, true, "sasaran_kerja", "2029-12-31 00:00:00"), kRefused);
        QCOMPARE(saveWindow(kKepala, true, "sasaran_kerja", "2030-06-30 00:00:00"), kDone);
    }

    void savesDuringMaintenance()
    {
        // The switch must be able to come off again while it is on.
        QCOMPARE(saveValue(kKepala, "is_maintenance", "1"), kDone);
        QCOMPARE(saveValue(kKepala, "target_skr_bulanan", "1100"), kDone);
        QCOMPARE(saveValue(kKepala, "is_maintenance", "0"), kDone);
        QCOMPARE(root("SELECT nilai FROM kinerja_setting WHERE nama = 'is_maintenance'"), QStringLiteral("0"));
    }

    // ------------------------------------------------------------ log

    void changesLogged()
    {
        QCOMPARE(saveValue(kKepala, "target_skr_bulanan", "1200"), kDone);
        QCOMPARE(saveWindow(kKepala, true, "kualitas_mutu", "2027-01-31 23:59:59"), kDone);
        QCOMPARE(saveWindow(kKepala, false, "kualitas_mutu", "2026-02-01  7:00:00"), kDone);
        setWindow("kamus_update", "'2026-01-01 00:00:00'", "NULL");
        QCOMPARE(saveWindow(kKepala, true, "kamus_update", "2026-06-30 00:00:00"), kDone);
        QCOMPARE(logRows(), kKepala + "|Setting Update|target_skr_bulanan: 1000 -> 1200|-\n" + kKepala +
                                "|Setting Update|kualitas_mutu (akhir): 2026-12-31 23:59:59 -> 2027-01-31 23:59:59|-\n" +
                                kKepala +
                                "|Setting Update|kualitas_mutu (awal): 2026-01-01 00:00:00 -> 2026-02-01 07:00:00|-\n" +
                                kKepala + "|Setting Update|kamus_update (akhir): (kosong) -> 2026-06-30 00:00:00|-");
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses WHERE tanggal_aksi < NOW() - INTERVAL 1 MINUTE"),
                 QStringLiteral("0"));
    }

    void unchangedSaveAcceptedWithoutLog()
    {
        // The page writes every field every time: the same value again is
        // no error and no change to log.
        const QString before = store();
        QCOMPARE(saveValue(kKepala, "target_skr_bulanan", "1000"), kDone);
        QCOMPARE(saveValue(kKepala, "target_skr_bulanan", "01000"), kDone);
        QCOMPARE(saveWindow(kKepala, false, "kualitas_mutu", "2026-01-01 00:00:00"), kDone);
        QCOMPARE(saveWindow(kKepala, true, "kualitas_mutu", "2026-12-31 23:59:59"), kDone);
        QCOMPARE(store(), before);
    }

    void saveWaitsForTheRowAndLogsWhatItReplaced()
    {
        // Another writer holds the row: the save waits, then logs the value
        // that writer committed as the old one, not the one it saw before.
        db::Connection other;
        other.open(testdb::rootSettings(kSchema));
        db::Query o(other);
        o.exec(QStringLiteral("START TRANSACTION"));
        o.exec(QStringLiteral("UPDATE kinerja_setting SET nilai = '777' WHERE nama = 'target_skr_bulanan'"));
        o.exec(QStringLiteral("UPDATE kinerja_setting SET tanggal_akhir = '2026-06-30 00:00:00' "
                              "WHERE nama = 'kualitas_mutu'"));
        Racer value([] { return saveValue(kKepala, "target_skr_bulanan", "888"); });
        // Checked against the end the other writer is about to commit.
        Racer start([] { return saveWindow(kKepala, false, "kualitas_mutu", "2026-09-01 00:00:00"); });
        QVERIFY(value.blockedOnLock(kSchema));
        QVERIFY(start.blockedOnLock(kSchema, 2));
        o.exec(QStringLiteral("COMMIT"));
        QCOMPARE(value.result(), kDone);
        QCOMPARE(start.result(), kRefused);
        QCOMPARE(logRows(), kKepala + "|Setting Update|target_skr_bulanan: 777 -> 888|-");
        QCOMPARE(root("SELECT tanggal_awal FROM kinerja_setting WHERE nama = 'kualitas_mutu'"),
                 QStringLiteral("2026-01-01 00:00:00"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsRules)
#include "test_settings_rules.moc"
