// The server trusts no client: a modified client (or a short script) calls
// the procedures straight as the application account, anonymous, with
// another person's session, with revoked or expired tokens, and in parallel.
// Each case asserts the server's answer and that no row changed.
#include "appcaller.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"
#include "api/udm.h"
#include "orgfixture.h"
#include "testconfig.h"
#include "testdb.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace {

const QString kSchema = QStringLiteral("t_trust");
const QString kPass = QStringLiteral("rahasia123");
const QString kDesc = QStringLiteral("Deskripsi aktivitas yang cukup panjang");

QString rootValue(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QString day(int offset)
{
    return rootValue(QStringLiteral("SELECT CURDATE() + INTERVAL %1 DAY").arg(offset));
}

// Everything a refused call must leave alone.
QString snapshot()
{
    return rootValue(QStringLiteral(
        "SELECT CONCAT_WS('|', (SELECT COUNT(*) FROM aktivitas), "
        "(SELECT COALESCE(SUM(CRC32(CONCAT_WS('/', id, nip, jenis_jabatan, id_sasaran, deskripsi, volume, status))), 0) "
        "   FROM aktivitas), "
        "(SELECT COUNT(*) FROM kinerja_log_proses), "
        "(SELECT COALESCE(SUM(CRC32(CONCAT_WS('/', nip, pass, level))), 0) FROM kinerja_user))"));
}

// What an act of the figures' kind could change: the activities, the log,
// the accounts, the figures with their marks and runs, the assignments, the
// grades, the tasks and the settings.
QString everything()
{
    QStringList sums;
    for (const QStringList& r : testdb::rootQuery(
             kSchema, QStringLiteral("CHECKSUM TABLE aktivitas, kinerja_log_proses, kinerja_user, kinerja_progress, "
                                     "kinerja_progress_ah2, kinerja_progress_ubah, kinerja_progress_jalan, plt, "
                                     "kualitas_mutu, tugas_tambahan, kinerja_setting")))
        sums << r.value(1);
    return sums.join('|');
}

// One connection of a client as the application account.
struct Client {
    db::Connection conn;
    db::Query q{conn};

    Client() { conn.open(testdb::appSettings(kSchema)); }
    // Binds the connection; false when the server refused the token.
    bool bind(const QString& token)
    {
        return run(QStringLiteral("CALL kinerja_sesi_ikat(:var_token)"), {{QStringLiteral("var_token"), token}});
    }
    bool run(const QString& sql, const db::Params& params = {}, db::ResultSet* out = nullptr)
    {
        try {
            if (out)
                *out = q.open(sql, params);
            else
                q.exec(sql, params);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }
};

QString token(const QString& nip, const QString& pass = kPass)
{
    return testdb::sessionToken(kSchema, nip, pass);
}

// Runs one statement on a new connection bound to the NIP's fresh session
// (anonymous for an empty NIP); whether the server accepted it.
bool as(const QString& nip, const QString& sql, const db::Params& params = {})
{
    Client c;
    if (!nip.isEmpty() && !c.bind(token(nip)))
        return false;
    return c.run(sql, params);
}

const QString kInsert = QStringLiteral(
    "CALL kinerja_aktivitas_insert(:var_nip, :var_aktivitas, :var_sasaran, :var_deskripsi, :var_volume, "
    ":var_tanggal_aktivitas, :var_status, :var_kode_jabatan, :var_jenis_jabatan, :var_skr, :var_satuan, "
    ":var_atasan1, :var_atasan2)");

db::Params insertParams(const QString& nip, const QString& kode, const QString& volume, int dayOffset = 0,
                        const QString& jenis = QStringLiteral("Utama"), const QString& sasaran = QStringLiteral("0"),
                        const QString& deskripsi = kDesc)
{
    return {{"var_nip", nip},       {"var_aktivitas", kode},   {"var_sasaran", sasaran},
            {"var_deskripsi", deskripsi}, {"var_volume", volume},
            {"var_tanggal_aktivitas", day(dayOffset) + " 09:00:00"},
            {"var_status", "0"},    {"var_kode_jabatan", ""},  {"var_jenis_jabatan", jenis},
            {"var_skr", "1"},       {"var_satuan", "x"},       {"var_atasan1", ""}, {"var_atasan2", ""}};
}

// Recognised minutes of a servant's day as the server counts them.
QString minutes(const QString& nip, int dayOffset)
{
    return rootValue(QStringLiteral("SELECT COALESCE(SUM(IF(bobot_skr > 300, 300, bobot_skr * volume)), 0) "
                                    "FROM aktivitas WHERE nip = '%1' AND DATE(tanggal_aktivitas) = CURDATE() + "
                                    "INTERVAL %2 DAY AND status NOT IN ('rejected', 'rejected_by_spv')")
                         .arg(nip)
                         .arg(dayOffset));
}

// Waits until n transactions wait for a lock. On a loaded machine one of
// many parallel clients may still be on its way after a while; once `least`
// are queued the interleaving under test exists, so after a grace period
// that is enough.
bool waitForLockWaits(int n, int least = -1)
{
    if (least < 0)
        least = n;
    QElapsedTimer clock;
    clock.start();
    // Never hold the lock near the clients' 20-second read timeout: a
    // client that gives up would be counted as refused.
    while (clock.elapsed() < 8000) {
        const int waiting = testdb::lockWaits(kSchema);
        if (waiting >= n || (waiting >= least && clock.elapsed() > 3000))
            return true;
        QTest::qWait(150); // information_schema's view of transactions stays put while read within 0.1 s
    }
    return false;
}

// Runs the jobs on parallel connections, all released together.
std::vector<bool> parallel(const std::vector<std::function<bool()>>& jobs)
{
    std::vector<char> ok(jobs.size(), 0);
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (size_t i = 0; i < jobs.size(); ++i)
        threads.emplace_back([&, i] {
            ++ready;
            while (ready.load() < int(jobs.size()))
                std::this_thread::yield();
            ok[i] = jobs[i]() ? 1 : 0;
        });
    for (auto& t : threads)
        t.join();
    return std::vector<bool>(ok.begin(), ok.end());
}

} // namespace

class TestTrust : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("activities.sql")}));
        // kAnalis starts with empty days; kPelaksana keeps the fixture's activities
        QVERIFY(testdb::rootExec(kSchema, "DELETE FROM aktivitas WHERE nip = '" + kAnalis + "'"));
        QVERIFY(testdb::keepClean(kSchema));
    }
    void init() { QVERIFY(testdb::restoreSchema(kSchema)); }

    // Every personal read and every write, called by somebody else than
    // the owner (kPelaksana, whose activity 201 is unverified).
    void strangersAreRefused_data()
    {
        QTest::addColumn<QString>("caller"); // anonymous, other, revoked, expired, unknown, owner, superior
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("write");
        const QString p = kPelaksana;
        const QList<std::tuple<const char*, QString, bool>> statements = {
            {"insert", "CALL kinerja_aktivitas_insert('" + p + "', '3', '0', '" + kDesc +
                           "', '1', CONCAT(CURDATE(), ' 09:00:00'), '0', '', 'Utama', '10', 'Surat', '', '')",
             true},
            {"update", "CALL kinerja_aktivitas_update('" + kDesc + "', '3', '201')", true},
            {"delete", "CALL kinerja_aktivitas_hapus('201')", true},
            {"log procedure", "CALL kinerja_log_insert('" + p + "', 'LogIn', 'Sukses LogIn', '')", true},
            {"plain log row", "INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan) VALUES ('" + p +
                                  "', 'LogIn', NOW(), 'Sukses LogIn')",
             true},
            {"list", "CALL kinerja_aktivitas_tampil_data('" + p +
                         "', CURDATE() - INTERVAL 30 DAY, CURDATE(), 'x,Utama', 'x,0', '', '')",
             false},
            {"by id", "CALL kinerja_aktivitas_tampil_data_by_id('201')", false},
            {"status", "CALL kinerja_aktivitas_status_verifikasi_cek('201')", false},
            {"minutes today", "CALL kinerja_aktivitas_skr_hari_ini('" + p + "')", false},
            {"superiors", "CALL kinerja_atasan_nip_get('" + p + "')", false},
            {"additional tasks", "CALL kinerja_rincian_tugas_cari_tambahan('" + p + "', '')", false},
            {"profile", "CALL kinerja_load_profil('" + p + "')", false},
            {"position codes", "CALL kinerja_get_kodejab_simpeg_by_nip('" + p + "')", false},
            {"subordinates", "CALL kinerja_bawahan_langsung_jumlah('" + p + "')", false},
            {"progress", "CALL kinerja_progress_get(DATE_FORMAT(NOW(), '%Y%m'), '" + p + "')", false},
            {"second level", "CALL kinerja_progress_ah2(DATE_FORMAT(NOW(), '%Y%m'), '" + p + "')", false},
        };
        for (const auto& [name, sql, write] : statements)
            for (const char* caller : {"anonymous", "other", "revoked", "expired", "unknown", "owner"}) {
                // the owner's writes are the other suites' business
                if (write && QLatin1String(caller) == QLatin1String("owner"))
                    continue;
                QTest::addRow("%s, %s", name, caller) << caller << sql << write;
            }
        // the direct superior reads the list, one activity and the progress
        for (const char* name : {"list", "by id", "status", "progress", "second level"})
            for (const auto& [n, sql, write] : statements)
                if (QLatin1String(n) == QLatin1String(name))
                    QTest::addRow("%s, superior", name) << "superior" << sql << write;
    }

    void strangersAreRefused()
    {
        QFETCH(QString, caller);
        QFETCH(QString, sql);
        QString t;
        if (caller == "other")
            t = token(kAnalis);
        else if (caller == "owner" || caller == "revoked" || caller == "expired")
            t = token(kPelaksana);
        else if (caller == "superior")
            t = token(kKabid);
        else if (caller == "unknown")
            t = QString(64, QLatin1Char('a'));
        if (caller == "revoked") {
            Client c;
            QVERIFY(c.run("CALL kinerja_sesi_cabut(:t)", {{"t", t}}));
        }
        if (caller == "expired")
            QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_sesi SET tanggal_pakai = NOW() - INTERVAL 13 HOUR"));

        const QString before = snapshot();
        Client c;
        const bool bound = t.isEmpty() || c.bind(t);
        const bool accepted = c.run(sql);
        const bool allowed = caller == "owner" || caller == "superior";
        QCOMPARE(bound, caller != "revoked" && caller != "expired" && caller != "unknown");
        QCOMPARE(accepted, allowed);
        QCOMPARE(snapshot(), before);
    }

    // The helpers that the checking procedures call are refused to the
    // application account itself, bound or not: they check nobody.
    void helpersAreTheServersOwn_data()
    {
        QTest::addColumn<bool>("bound");
        QTest::addColumn<QString>("sql");
        const QString p = kPelaksana;
        const QList<std::pair<const char*, QString>> helpers = {
            {"a servant's list", "CALL kinerja_aktivitas_daftar('" + p +
                                     "', 'tanggal_aktivitas', CURDATE() - INTERVAL 30 DAY, CURDATE(), 'x,Utama', "
                                     "'x,0', NULL, '', 0, 0)"},
            {"delegations", "CALL kinerja_delegasi_daftar(NULL, '')"},
            {"a day's minutes", "CALL kinerja_menit_hari_terkunci('" + p + "', CURDATE(), 0, @m)"},
            {"review notes", "CALL kinerja_aktivitas_catatan_siapkan('" + p +
                                 "', 'tanggal_input', CURDATE() - INTERVAL 30 DAY, CURDATE(), @s)"},
            {"subordinates", "CALL kinerja_bawahan_susun('" + kKabid + "')"},
        };
        for (const auto& [name, sql] : helpers) {
            QTest::addRow("%s, anonymous", name) << false << sql;
            QTest::addRow("%s, the owner", name) << true << sql;
        }
    }

    void helpersAreTheServersOwn()
    {
        QFETCH(bool, bound);
        QFETCH(QString, sql);
        const QString before = snapshot();
        const QString kept = rootValue("SELECT COUNT(*) FROM kinerja_catatan_simpan");
        Client c;
        if (bound)
            QVERIFY(c.bind(token(kPelaksana)));
        QVERIFY(!c.run(sql));
        QCOMPARE(snapshot(), before);
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_catatan_simpan"), kept);
    }

    // The account executes the public routines only. What a modified client
    // tried with the rest, each answered "denied" by the server's grants and
    // changing nothing; with the grant given anyway (an installation that
    // kept an older grant on the whole schema), the routine refuses itself.
    void publicDoor_data()
    {
        QTest::addColumn<QString>("caller"); // NIP bound, empty: anonymous
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("granted"); // routine granted for the case; empty: the public list only
        QTest::addColumn<QString>("answer");  // "denied", "refused" or "done"
        const QString own = "CALL kinerja_aktivitas_verifikasi('201', '" + kKabid + "', '%1', 0)";
        const QList<std::tuple<const char*, QString, QString, QString, QString>> rows = {
            // a status word beyond the superior's two
            {"verification with a supervision status", kKabid, own.arg("accepted_by_spv"), "", "denied"},
            {"verification with a supervision status, granted", kKabid, own.arg("accepted_by_spv"),
             "kinerja_aktivitas_verifikasi", "refused"},
            {"verification with a made-up status, granted", kKabid, own.arg("lulus"), "kinerja_aktivitas_verifikasi",
             "refused"},
            {"verification with a blank after the word, granted", kKabid, own.arg("accepted "),
             "kinerja_aktivitas_verifikasi", "refused"},
            // scheduled work
            {"automatic approval by a servant", kPelaksana, "CALL kinerja_aktivitas_auto_approve()", "", "denied"},
            {"automatic approval by a servant, granted", kPelaksana, "CALL kinerja_aktivitas_auto_approve()",
             "kinerja_aktivitas_auto_approve", "refused"},
            {"whole recompute", kKepala, "CALL kinerja_progress_hitung_semua()", "", "denied"},
            {"whole recompute, granted", kKepala, "CALL kinerja_progress_hitung_semua()",
             "kinerja_progress_hitung_semua", "refused"},
            {"recompute start", "", "CALL kinerja_progress_mulai(DATE_FORMAT(NOW(), '%Y%m'), @a, @b, @c)", "",
             "denied"},
            {"recompute end in 2099", "",
             "CALL kinerja_progress_ubah_selesai(DATE_FORMAT(NOW(), '%Y%m'), '2099-01-01', 1000, 300, 1)", "",
             "denied"},
            {"recompute end in 2099, granted", "",
             "CALL kinerja_progress_ubah_selesai(DATE_FORMAT(NOW(), '%Y%m'), '2099-01-01', 1000, 300, 1)",
             "kinerja_progress_ubah_selesai", "refused"},
            {"superiors of everybody", "", "CALL kinerja_atasan_semua_dari_peta()", "", "denied"},
            {"second-level figures", "", "CALL kinerja_progress_ah2_hitung(DATE_FORMAT(NOW(), '%Y%m'), NOW())", "",
             "denied"},
            {"second-level figures, granted", "",
             "CALL kinerja_progress_ah2_hitung(DATE_FORMAT(NOW(), '%Y%m'), NOW())", "kinerja_progress_ah2_hitung",
             "refused"},
            {"session purge", "", "CALL kinerja_sesi_bersihkan()", "", "denied"},
            {"session purge, granted", "", "CALL kinerja_sesi_bersihkan()", "kinerja_sesi_bersihkan", "refused"},
            // functions that would map the chart
            {"superior of a servant", "", "SELECT kinerja_fn_atasan_nip('" + kPelaksana + "')", "", "denied"},
            {"owner of an activity", "", "SELECT kinerja_fn_aktivitas_pemilik('201')", "", "denied"},
            {"classification", "", "SELECT kinerja_fn_klasifikasi('" + kPelaksana + "')", "", "denied"},
            {"caller's NIP", kPelaksana, "SELECT kinerja_fn_pemanggil_nip()", "", "denied"},
            // log rows that only an act writes
            {"a settings change's log row", kKepala, "CALL kinerja_setting_log('is_maintenance', '0', '1')", "",
             "denied"},
            // an acting official's kind, exactly
            {"acting official of kind 'plh '", kKepala,
             "CALL kinerja_plt_tambah('" + kAnalis + "', 'J6', 'plh ', CURDATE(), CURDATE() + INTERVAL 5 DAY)", "",
             "refused"},
            {"acting official of kind 'Plh'", kKepala,
             "CALL kinerja_plt_tambah('" + kAnalis + "', 'J6', 'Plh', CURDATE(), CURDATE() + INTERVAL 5 DAY)", "",
             "refused"},
            {"acting official of kind 'plh'", kKepala,
             "CALL kinerja_plt_tambah('" + kAnalis + "', 'J6', 'plh', CURDATE(), CURDATE() + INTERVAL 5 DAY)", "",
             "done"},
            // the tables themselves
            {"reading the sessions", kPelaksana, "SELECT * FROM kinerja_sesi", "", "denied"},
            {"writing a figure", kPelaksana,
             "UPDATE kinerja_progress SET persen_diakui = 100 WHERE nip = '" + kPelaksana + "'", "", "denied"},
        };
        for (const auto& [name, caller, sql, granted, answer] : rows)
            QTest::newRow(name) << caller << sql << granted << answer;
    }

    void publicDoor()
    {
        QFETCH(QString, caller);
        QFETCH(QString, sql);
        QFETCH(QString, granted);
        QFETCH(QString, answer);
        if (!granted.isEmpty())
            QVERIFY(testdb::rootExec(kSchema, QStringLiteral("GRANT EXECUTE ON PROCEDURE %1 TO 'aplikasi'@'%2'")
                                                  .arg(granted, QStringLiteral(TARVESA_TEST_ACCOUNT_HOST))));
        const QString before = everything();
        const QStringList got = testdb::callAs(kSchema, caller, sql);
        if (answer == QLatin1String("done")) {
            QCOMPARE(got, QStringList());
            QVERIFY(everything() != before);
        } else {
            QCOMPARE(got, QStringList{answer});
            QCOMPARE(everything(), before);
        }
    }

    // A public routine's temporary tables are its own: rows a client puts
    // into one that a routine left in the session feed no later answer.
    void temporaryTablesAreRebuiltByTheirReaders()
    {
        AppCaller c(kSchema, kKabid);
        const QString count = QStringLiteral("CALL kinerja_bawahan_langsung_jumlah(:n)");
        const QStringList honest = c.call(count, {{"n", kKabid}});
        QVERIFY(!honest.isEmpty() && !honest.first().startsWith("error"));
        // the list leaves tmp_bawahan_1 in the session
        QVERIFY(!c.call("CALL kinerja_show_bawahan(:n, '', 'x,struktural,fungsional,pelaksana', "
                        "'x,Definitif,Plt,Tugas Sampiran')",
                        {{"n", kKabid}})
                     .isEmpty());
        c.call("INSERT INTO tmp_bawahan_1 (nip, nip_atasan, status_bawahan) VALUES ('" + kKepala + "', '" + kKabid +
               "', 'Definitif')");
        c.call("INSERT INTO tmp_bawahan_2 (nip, nip_atasan, status_bawahan) VALUES ('" + kKepala + "', '" + kKabid +
               "', 'Definitif')");
        QCOMPARE(c.call(count, {{"n", kKabid}}), honest);
    }

    // A session binds while it is neither revoked nor idle for 12 hours, and
    // only on the connection that bound it, whether fully or with the digest
    // the data module sets between full bindings.
    void bindingHolds_data()
    {
        QTest::addColumn<bool>("digestOnly"); // bound by setting the digest, not by the procedure
        QTest::addColumn<QString>("change");  // root statement on the session
        QTest::addColumn<bool>("bound");
        for (const bool digest : {false, true}) {
            const char* how = digest ? "digest, " : "full, ";
            const auto row = [&](const char* name) -> QTestData& { return QTest::newRow((how + QString::fromUtf8(name)).toUtf8()); };
            row("fresh") << digest << "" << true;
            row("idle 11 hours") << digest << "UPDATE kinerja_sesi SET tanggal_pakai = NOW() - INTERVAL 11 HOUR" << true;
            row("idle 12 hours and a bit")
                << digest << "UPDATE kinerja_sesi SET tanggal_pakai = NOW() - INTERVAL 12 HOUR - INTERVAL 5 SECOND"
                << false;
            row("revoked") << digest << "UPDATE kinerja_sesi SET tanggal_cabut = NOW()" << false;
            row("account removed") << digest << "DELETE FROM kinerja_user WHERE nip = '" + kPelaksana + "'" << false;
        }
    }

    void bindingHolds()
    {
        QFETCH(bool, digestOnly);
        QFETCH(QString, change);
        QFETCH(bool, bound);
        Client c;
        const QString t = token(kPelaksana);
        QVERIFY(digestOnly ? c.run("SET @kinerja_sesi_sha2 = SHA2(:t, 256)", {{"t", t}}) : c.bind(t));
        if (!change.isEmpty())
            QVERIFY(testdb::rootExec(kSchema, change));
        // seen through routines of the client: one for the person, one for
        // anybody logged in
        db::ResultSet rs;
        QCOMPARE(c.run("CALL kinerja_load_profil(:n)", {{"n", kPelaksana}}, &rs), bound);
        if (bound)
            QCOMPARE(rs.first(QStringLiteral("nip")), kPelaksana);
        QCOMPARE(c.run("CALL kinerja_text_get('1')"), bound);
        // Another connection (another node, or after a restart) is anonymous.
        Client other;
        QVERIFY(!other.run("CALL kinerja_text_get('1')"));
    }

    // The data module binds fully (moving the idle clock) on its first
    // connection and with the digest on the next ones; both act for the
    // person, and neither for a revoked session.
    void dataModuleBinding()
    {
        const QString t = token(kPelaksana);
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_sesi SET tanggal_pakai = NOW() - INTERVAL 2 HOUR"));
        Tdm dm(testdb::appSettings(kSchema));
        dm.setSessionToken(t);
        // the person the connection acts for, as far as the profile tells
        const auto caller = [&dm] {
            dm.setConnected(true);
            QString nip;
            try {
                nip = dm.fdsq1()
                          .open(QStringLiteral("CALL kinerja_load_profil(:n)"), {{QStringLiteral("n"), kPelaksana}})
                          .first(QStringLiteral("nip"));
            } catch (const db::DbError&) {
            }
            dm.setConnected(false);
            return nip;
        };
        QCOMPARE(caller(), kPelaksana);
        QCOMPARE(rootValue("SELECT tanggal_pakai >= NOW() - INTERVAL 1 MINUTE FROM kinerja_sesi"), "1");
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_sesi SET tanggal_pakai = NOW() - INTERVAL 2 HOUR"));
        QCOMPARE(caller(), kPelaksana); // the digest: the idle clock stays
        QCOMPARE(rootValue("SELECT tanggal_pakai < NOW() - INTERVAL 1 HOUR FROM kinerja_sesi"), "1");
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_sesi SET tanggal_cabut = NOW()"));
        QCOMPARE(caller(), QString());
        // A new token binds fully again, and a refused full binding throws.
        dm.setSessionToken(QString(64, QLatin1Char('a')));
        QVERIFY_THROWS_EXCEPTION(std::exception, dm.setConnected(true));
        QVERIFY(!dm.connected());
    }

    void bindingIsTheServersOwn()
    {
        Client c;
        const QString t = token(kPelaksana);
        QVERIFY(c.bind(t));
        // The application account can neither read nor forge sessions or bindings.
        QVERIFY(!c.run("SELECT * FROM kinerja_sesi"));
        // A made-up digest binds nobody.
        Client guess;
        QVERIFY(guess.run("SET @kinerja_sesi_sha2 = SHA2('tebakan', 256)"));
        QVERIFY(!guess.run("CALL kinerja_text_get('1')"));
        QVERIFY(!c.run("UPDATE kinerja_sesi SET nip = '" + kKepala + "'"));
        // Only the digest is stored.
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_sesi WHERE token_sha2 = SHA2('" + t + "', 256)"), "1");
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_sesi WHERE token_sha2 = '" + t + "'"), "0");
        QCOMPARE(t.size(), 64);
        QVERIFY(t != token(kPelaksana));
        // A refused binding leaves the connection anonymous, not bound as before.
        QVERIFY(!c.bind(QStringLiteral("salah")));
        QVERIFY(!c.run("CALL kinerja_text_get('1')"));
        // Logout revokes; revoking twice is refused.
        QVERIFY(c.run("CALL kinerja_sesi_cabut(:t)", {{"t", t}}));
        QVERIFY(!c.run("CALL kinerja_sesi_cabut(:t)", {{"t", t}}));
        QVERIFY(!Client().bind(t));
    }

    // The 480 minutes hold on the activity's own day, for inserts and for a
    // volume raised by a change (kAnalis: detail 5 is 240 minutes, 7 counts 300).
    void dayLimitOnTheActivitysDay_data()
    {
        QTest::addColumn<int>("dayOffset");
        QTest::addColumn<QString>("existing"); // "kode x volume status" of rows already on that day
        QTest::addColumn<QString>("kode");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<bool>("saved");
        QTest::newRow("two days back, empty day, 480") << -2 << "" << "5" << "2" << true;
        QTest::newRow("two days back, 240 + 480") << -2 << "5x1x0" << "5" << "2" << false;
        QTest::newRow("two days back, 240 + 240") << -2 << "5x1x0" << "5" << "1" << true;
        QTest::newRow("rejected do not count") << -2 << "5x2xrejected" << "5" << "2" << true;
        QTest::newRow("accepted count") << -1 << "5x1xaccepted" << "5" << "2" << false;
        QTest::newRow("cap counts 300: 300 + 240") << -3 << "7x1x0" << "5" << "1" << false;
        QTest::newRow("volume 0 is no work") << -1 << "5x1x0" << "5" << "0" << false;
        QTest::newRow("other days do not count") << 0 << "" << "5" << "2" << true;
    }

    void dayLimitOnTheActivitysDay()
    {
        QFETCH(int, dayOffset);
        QFETCH(QString, existing);
        QFETCH(QString, kode);
        QFETCH(QString, volume);
        QFETCH(bool, saved);
        // a full yesterday that must not count for the other days
        if (dayOffset != -1)
            QVERIFY(as(kAnalis, kInsert, insertParams(kAnalis, "5", "2", -1)));
        if (!existing.isEmpty()) {
            const QStringList e = existing.split('x');
            QVERIFY(as(kAnalis, kInsert,
                       insertParams(kAnalis, e[0], e[1], dayOffset, e[0] == "7" ? "Lainnya" : "Utama")));
            QVERIFY(testdb::rootExec(kSchema, "UPDATE aktivitas SET status = '" + e[2] + "' WHERE nip = '" + kAnalis +
                                                  "' AND DATE(tanggal_aktivitas) = CURDATE() + INTERVAL " +
                                                  QString::number(dayOffset) + " DAY"));
        }
        const QString before = snapshot();
        const QString minutesBefore = minutes(kAnalis, dayOffset);
        QCOMPARE(as(kAnalis, kInsert, insertParams(kAnalis, kode, volume, dayOffset)), saved);
        if (!saved) {
            QCOMPARE(snapshot(), before);
            QCOMPARE(minutes(kAnalis, dayOffset), minutesBefore);
        }
        QVERIFY(minutes(kAnalis, dayOffset).toDouble() <= 480);
    }

    void raisedVolumeKeepsTheDayLimit()
    {
        // Two activities of 240 minutes fill the day: raising either's
        // volume would pass 480.
        for (int i = 0; i < 2; ++i)
            QVERIFY(as(kAnalis, kInsert, insertParams(kAnalis, "5", "1", -1)));
        const QStringList ids =
            testdb::rootQuery(kSchema, "SELECT GROUP_CONCAT(id ORDER BY id) FROM aktivitas WHERE nip = '" + kAnalis + "'")
                .first()
                .first()
                .split(',');
        QCOMPARE(ids.size(), 2);
        for (const QString& id : ids) {
            const QString before = snapshot();
            QVERIFY(!as(kAnalis, "CALL kinerja_aktivitas_update(:d, '2', :id)", {{"d", kDesc}, {"id", id}}));
            QCOMPARE(snapshot(), before);
        }
        QCOMPARE(minutes(kAnalis, -1), QStringLiteral("480"));
        // deleting one frees its minutes for the other's raise
        QVERIFY(as(kAnalis, "CALL kinerja_aktivitas_hapus(:id)", {{"id", ids[1]}}));
        QVERIFY(as(kAnalis, "CALL kinerja_aktivitas_update(:d, '2', :id)", {{"d", kDesc}, {"id", ids[0]}}));
        QCOMPARE(minutes(kAnalis, -1), QStringLiteral("480"));
    }

    void exactTypesAndLengths_data()
    {
        QTest::addColumn<QString>("jenis");
        QTest::addColumn<QString>("sasaran");
        QTest::addColumn<int>("descBytes"); // 0: the normal description
        QTest::addColumn<bool>("saved");
        QTest::newRow("Lainnya") << "Lainnya" << "0" << 0 << true;
        QTest::newRow("upper case") << "LAINNYA" << "0" << 0 << false;
        QTest::newRow("lower case") << "lainnya" << "0" << 0 << false;
        QTest::newRow("trailing blank") << "Lainnya " << "0" << 0 << false;
        QTest::newRow("leading blank") << " Lainnya" << "0" << 0 << false;
        QTest::newRow("target of 20") << "Lainnya" << QString(20, '7') << 0 << true;
        QTest::newRow("target of 21") << "Lainnya" << QString(21, '7') << 0 << false;
        QTest::newRow("target of 41") << "Lainnya" << QString(41, '7') << 0 << false;
        QTest::newRow("description fills TEXT") << "Lainnya" << "0" << 65535 << true;
        QTest::newRow("description beyond TEXT") << "Lainnya" << "0" << 65536 << false;
    }

    void exactTypesAndLengths()
    {
        QFETCH(QString, jenis);
        QFETCH(QString, sasaran);
        QFETCH(int, descBytes);
        QFETCH(bool, saved);
        const QString desc = descBytes ? QString(descBytes, 'd') : kDesc;
        const QString before = snapshot();
        QCOMPARE(as(kAnalis, kInsert, insertParams(kAnalis, "7", "1", 0, jenis, sasaran, desc)), saved);
        if (saved)
            QCOMPARE(rootValue("SELECT CONCAT_WS('|', jenis_jabatan, id_sasaran, LENGTH(deskripsi)) FROM aktivitas "
                               "WHERE nip = '" + kAnalis + "'"),
                     jenis + "|" + sasaran + "|" + QString::number(desc.size()));
        else
            QCOMPARE(snapshot(), before);
    }

    // N parallel inserts of 240 minutes on an empty day: exactly two fit.
    void parallelInsertsKeepTheLimit_data()
    {
        QTest::addColumn<bool>("queued"); // all held on the person's lock first, then released together
        QTest::newRow("free-running") << false;
        QTest::newRow("queued behind a held lock") << true;
    }

    void parallelInsertsKeepTheLimit()
    {
        QFETCH(bool, queued);
        const int n = 6;
        db::Connection root;
        db::Query rq(root);
        if (queued) {
            root.open(testdb::rootSettings(kSchema));
            rq.exec("START TRANSACTION");
            rq.exec("SELECT nip FROM cache_pns WHERE nip = '" + kAnalis + "' FOR UPDATE");
        }
        std::vector<QString> tokens;
        for (int i = 0; i < n; ++i)
            tokens.push_back(token(kAnalis));
        const db::Params params = insertParams(kAnalis, "5", "1", -2);
        std::vector<std::function<bool()>> jobs;
        for (int i = 0; i < n; ++i)
            jobs.push_back([&, i] {
                Client c;
                return c.bind(tokens[size_t(i)]) && c.run(kInsert, params);
            });
        std::vector<bool> ok;
        std::thread runner([&] { ok = parallel(jobs); });
        if (queued) {
            if (!waitForLockWaits(n, 2))
                qWarning("the inserts did not queue behind the person's lock in time");
            rq.exec("COMMIT");
            runner.join();
        } else {
            runner.join();
        }
        QCOMPARE(int(std::count(ok.begin(), ok.end(), true)), 2);
        QCOMPARE(minutes(kAnalis, -2), QStringLiteral("480"));
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = 'Aktivitas Harian Input'"), "2");
    }

    // A change or deletion that waits behind the superior's acceptance finds
    // the activity verified under its lock: refused, nothing saved, no log.
    void changeRacingAcceptance_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("update") << "CALL kinerja_aktivitas_update('Diubah saat diverifikasi atasan', '1', '201')";
        QTest::newRow("delete") << "CALL kinerja_aktivitas_hapus('201')";
    }

    void changeRacingAcceptance()
    {
        QFETCH(QString, sql);
        const QString t = token(kPelaksana);
        db::Connection root;
        root.open(testdb::rootSettings(kSchema));
        db::Query rq(root);
        rq.exec("START TRANSACTION");
        rq.exec("UPDATE aktivitas SET status = 'accepted', tanggal_status = NOW() WHERE id = 201");
        const QString logBefore = rootValue("SELECT COUNT(*) FROM kinerja_log_proses");
        bool ok = true;
        std::thread owner([&] {
            Client c;
            ok = c.bind(t) && c.run(sql);
        });
        // Whether or not the owner got to the row while it was held, the
        // change must find it verified and refuse; the wait only shows
        // that the race was run as meant.
        if (!waitForLockWaits(1))
            qWarning("the owner's change did not queue behind the acceptance in time");
        rq.exec("COMMIT");
        owner.join();
        QVERIFY(!ok);
        QCOMPARE(rootValue("SELECT CONCAT_WS('|', status, deskripsi, volume) FROM aktivitas WHERE id = 201"),
                 "accepted|Mengagendakan surat masuk pagi|2");
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_log_proses"), logBefore);
    }

    // Registration by plain INSERT as the application account.
    void registrationRules_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("accounts"); // "nip:level" rows of the NIPs below after the statement
        const QString ins = "INSERT INTO kinerja_user (nip, pass, level) VALUES ";
        QTest::newRow("asks for Admin System") << ins + "('" + kCandidate + "', MD5('rahasia123'), '5')"
                                               << kCandidate + ":1";
        QTest::newRow("not in the personnel data")
            << ins + "('199999999999999999', MD5('rahasia123'), '1')" << "";
        QTest::newRow("already registered") << ins + "('" + kPelaksana + "', MD5('lain'), '1')" << "";
        QTest::newRow("two in one statement")
            << ins + "('" + kCandidate + "', MD5('a'), '1'), ('199508082020012009', MD5('a'), '1')" << "";
        QTest::newRow("bulk INSERT ... SELECT")
            << "INSERT INTO kinerja_user (nip, pass, level) SELECT nip, MD5('rahasia123'), '1' FROM cache_pns "
               "WHERE nip IN ('" + kCandidate + "', '199508082020012009')"
            << "";
    }

    void registrationRules()
    {
        QFETCH(QString, sql);
        QFETCH(QString, accounts);
        QVERIFY(testdb::rootExec(kSchema, "INSERT INTO cache_pns (nip, nama_lengkap, golongan_id, kode_jabatan, "
                                          "jenis_jabatan_id, nama_jabatan, unit_id, nama_unit, induk_id, nama_induk) "
                                          "SELECT '199508082020012009', 'Calon Dua', golongan_id, kode_jabatan, "
                                          "jenis_jabatan_id, nama_jabatan, unit_id, nama_unit, induk_id, nama_induk "
                                          "FROM cache_pns WHERE nip = '" + kCandidate + "'"));
        const QString before = snapshot();
        Client c;
        QCOMPARE(c.run(sql), !accounts.isEmpty());
        QCOMPARE(rootValue("SELECT COALESCE(GROUP_CONCAT(CONCAT(nip, ':', level) ORDER BY nip), '') FROM kinerja_user "
                           "WHERE nip IN ('" + kCandidate + "', '199508082020012009', '199999999999999999')"),
                 accounts);
        if (accounts.isEmpty())
            QCOMPARE(snapshot(), before);
        else // one account per connection
            QVERIFY(!c.run("INSERT INTO kinerja_user (nip, pass, level) VALUES ('199508082020012009', MD5('a'), '1')"));
        QVERIFY(rootValue("SELECT COUNT(*) FROM kinerja_user WHERE nip = '199508082020012009'") == "0");
    }

    // Log rows: the server's clock, and only for the bound person, except
    // the registration row from the connection that created the account.
    void logRows_data()
    {
        QTest::addColumn<QString>("bind");     // NIP the connection binds to, empty: anonymous
        QTest::addColumn<bool>("registerFirst"); // the connection first registers kCandidate
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("accepted");
        const QString plain = "INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan) VALUES ";
        const QString proc = "CALL kinerja_log_insert('" + kPelaksana + "', %1)";
        // The account inserts no row itself: the routines and triggers do.
        QTest::newRow("own row, back-dated") << kPelaksana << false
                                             << plain + "('" + kPelaksana + "', 'LogIn', '2001-01-01', 'x')" << false;
        QTest::newRow("another's row") << kPelaksana << false << plain + "('" + kAnalis + "', 'LogIn', NOW(), 'x')"
                                       << false;
        QTest::newRow("anonymous row") << "" << false << plain + "('" + kPelaksana + "', 'LogIn', NOW(), 'x')" << false;
        QTest::newRow("registration row of this connection")
            << "" << true << plain + "('" + kCandidate + "', 'Register', '2001-01-01', 'Sukses Register')" << false;
        QTest::newRow("registration row of another NIP")
            << "" << true << plain + "('" + kPelaksana + "', 'Register', NOW(), 'Sukses Register')" << false;
        // The procedure writes the client's own kinds only, for the caller.
        QTest::newRow("procedure, another's NIP")
            << kPelaksana << false << "CALL kinerja_log_insert('" + kAnalis + "', 'LogIn', 'Sukses LogIn', '')" << false;
        QTest::newRow("procedure, own login") << kPelaksana << false << proc.arg("'LogIn', 'Sukses LogIn', ''") << true;
        QTest::newRow("procedure, own logout") << kPelaksana << false << proc.arg("'LogIn', 'Sukses LogOut', ''") << true;
        QTest::newRow("procedure, anonymous login") << "" << false << proc.arg("'LogIn', 'Sukses LogIn', ''") << false;
        QTest::newRow("procedure, a verification")
            << kPelaksana << false << proc.arg("'Verifikasi - Approve', 'Aktivitas 360', '" + kAnalis + "'") << false;
        QTest::newRow("procedure, a settings change")
            << kPelaksana << false << proc.arg("'Setting Update', 'target_skr_bulanan: 1 -> 2', ''") << false;
        QTest::newRow("procedure, an account reset")
            << kPelaksana << false << proc.arg("'User', 'Reset Akun', '" + kAnalis + "'") << false;
        QTest::newRow("procedure, login with another text") << kPelaksana << false << proc.arg("'LogIn', 'x', ''") << false;
        QTest::newRow("procedure, a blank after the kind")
            << kPelaksana << false << proc.arg("'LogIn ', 'Sukses LogIn', ''") << false;
        QTest::newRow("procedure, login naming a target")
            << kPelaksana << false << proc.arg("'LogIn', 'Sukses LogIn', '" + kAnalis + "'") << false;
    }

    void logRows()
    {
        QFETCH(QString, bind);
        QFETCH(bool, registerFirst);
        QFETCH(QString, sql);
        QFETCH(bool, accepted);
        Client c;
        if (!bind.isEmpty())
            QVERIFY(c.bind(token(bind)));
        if (registerFirst) {
            QVERIFY(c.run("INSERT INTO kinerja_user (nip, pass, level) VALUES ('" + kCandidate + "', MD5('x'), '1')"));
            // the server logged the registration with the account
            QCOMPARE(rootValue("SELECT CONCAT_WS('|', aksi, keterangan, sumber) FROM kinerja_log_proses WHERE nip = '" +
                               kCandidate + "'"),
                     QStringLiteral("Register|Sukses Register|server"));
        }
        const QString before = snapshot();
        QCOMPARE(c.run(sql), accepted);
        if (accepted)
            QCOMPARE(rootValue("SELECT tanggal_aksi >= NOW() - INTERVAL 1 MINUTE FROM kinerja_log_proses "
                               "ORDER BY id DESC LIMIT 1"),
                     "1");
        else
            QCOMPARE(snapshot(), before);
    }

    void loginThrottle()
    {
        const auto login = [](const QString& pass) { return token(kPelaksana, pass); };
        const auto log = [](const QString& text) {
            return rootValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE nip = '" + kPelaksana +
                             "' AND aksi = 'LogIn' AND keterangan = '" + text + "'");
        };
        // Four failures, then success: the count starts again.
        for (int i = 0; i < 4; ++i)
            QVERIFY(login("salah").isEmpty());
        QVERIFY(!login(kPass).isEmpty());
        for (int i = 0; i < 4; ++i)
            QVERIFY(login("salah").isEmpty());
        QVERIFY(!login(kPass).isEmpty());
        QCOMPARE(log("Gagal LogIn"), "8");
        // Five failures lock the account: the right password is refused too.
        for (int i = 0; i < 5; ++i)
            QVERIFY(login("salah").isEmpty());
        QCOMPARE(log("Akun terkunci 15 menit"), "1");
        QVERIFY(login(kPass).isEmpty());
        QCOMPARE(log("Gagal LogIn: akun terkunci"), "1");
        QCOMPARE(rootValue("SELECT COUNT(*) FROM kinerja_sesi WHERE nip = '" + kPelaksana + "'"), "2");
        // Other accounts are not affected; the lock ends after 15 minutes.
        QVERIFY(!token(kAnalis, kPass).isEmpty());
        QVERIFY(testdb::rootExec(kSchema, "UPDATE kinerja_login_kunci SET kunci_sampai = NOW() - INTERVAL 1 SECOND"));
        QVERIFY(!login(kPass).isEmpty());
    }

    void parallelGuessesAreCounted()
    {
        std::vector<std::function<bool()>> jobs(12, [] { return token(kPelaksana, QStringLiteral("salah")).isEmpty(); });
        const std::vector<bool> refused = parallel(jobs);
        QCOMPARE(int(std::count(refused.begin(), refused.end(), true)), 12);
        QVERIFY(token(kPelaksana, kPass).isEmpty());
        QVERIFY(rootValue("SELECT COUNT(*) FROM kinerja_log_proses WHERE nip = '" + kPelaksana +
                          "' AND keterangan = 'Akun terkunci 15 menit'")
                    .toInt() >= 1);
    }
};

QTEST_GUILESS_MAIN(TestTrust)
#include "test_trust.moc"
