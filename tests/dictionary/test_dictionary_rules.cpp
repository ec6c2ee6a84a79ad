// The server's rules of the position ladder and the dictionary verifiers,
// called straight as the application account: anonymous, at each access
// level, with odd fragments and with writes that would change nothing.
#include "orgfixture.h"
#include "testdb.h"

#include <QTest>

namespace {

const QString kSchema = QStringLiteral("t_dictionary_rules");
const QString kPurna = QStringLiteral("196001012000011099"); // left the service, in the personnel data
const QStringList kRefused{QStringLiteral("refused")};

QString root(const QString& sql)
{
    return testdb::rootValue(kSchema, sql);
}

QStringList as(const QString& nip, const QString& sql, const db::Params& params = {})
{
    return testdb::callAs(kSchema, nip, sql, params);
}

// One column of every row.
QStringList column(const QStringList& rows, int col)
{
    QStringList out;
    for (const QString& r : rows)
        out << r.section('|', col, col);
    return out;
}

// What an assignment or a removal may change.
QString state()
{
    return root("SELECT CONCAT((SELECT GROUP_CONCAT(nip, ':', kode_jabatan ORDER BY nip, kode_jabatan) "
                "FROM verifikator_kamus), '#', (SELECT COUNT(*) FROM kinerja_log_proses))");
}

QStringList assign(const QString& caller, const QString& nip, const QString& kode)
{
    return as(caller, QStringLiteral("CALL kinerja_verifikator_jabatan_tambah(:var_nip, :var_kode)"),
              {{"var_nip", nip}, {"var_kode", kode}});
}

QStringList removeAssignment(const QString& caller, const QString& nip, const QString& kode)
{
    return as(caller, QStringLiteral("CALL kinerja_verifikator_jabatan_hapus(:var_nip, :var_kode)"),
              {{"var_nip", nip}, {"var_kode", kode}});
}

} // namespace

class TestDictionaryRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kSchema, {QStringLiteral("org.sql"), QStringLiteral("dictionary.sql")}));
    }

    // The ladder is reference data for anybody logged in; the verifiers are
    // the system administrators' alone, and the level is compared exactly.
    void whoMayRead_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("caller");
        QTest::addColumn<bool>("allowed");
        const QString ladder = QStringLiteral("CALL kinerja_jf_ab_master_show('')");
        const QString companions = QStringLiteral("CALL kinerja_jf_ab_detail_show('JF12')");
        QTest::newRow("ladder anonymous") << ladder << QString() << false;
        QTest::newRow("ladder basic user") << ladder << kPelaksana << true;
        QTest::newRow("companions anonymous") << companions << QString() << false;
        QTest::newRow("companions basic user") << companions << kPelaksana << true;
        const QStringList verifierReads{
            QStringLiteral("CALL kinerja_verifikator_show('')"),
            QStringLiteral("CALL kinerja_verifikator_jabatan_show('%1')").arg(kAnalis),
            QStringLiteral("CALL kinerja_verifikator_info('%1')").arg(kAnalis),
            QStringLiteral("CALL kinerja_verifikator_jabatan_pilih('%1', '')").arg(kAnalis)};
        const QList<std::pair<const char*, QString>> callers{{"anonymous", QString()},
                                                             {"basic user", kPelaksana},
                                                             {"admin skpd", kKabid},
                                                             {"admin sektira", kAnalis},
                                                             {"look-alike level", kPengelola},
                                                             {"admin system", kKepala}};
        for (const QString& sql : verifierReads)
            for (const auto& [who, nip] : callers)
                QTest::addRow("%s %s", qPrintable(sql.section('(', 0, 0).mid(5)), who)
                    << sql << nip << (nip == kKepala);
    }

    void whoMayRead()
    {
        QFETCH(QString, sql);
        QFETCH(QString, caller);
        QFETCH(bool, allowed);
        const QStringList rows = as(caller, sql);
        if (allowed) {
            QVERIFY2(!rows.isEmpty() && rows != kRefused && !rows.first().startsWith("error"), qPrintable(rows.join('\n')));
        } else {
            QCOMPARE(rows, kRefused);
        }
    }

    void ladder_data()
    {
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QStringList>("kodes");
        // Functional positions only, by name; the fixtures of org.sql have
        // no level.
        QTest::newRow("all") << "" << QStringList{"JF01", "JF02", "JF21", "JF22", "JF13", "JF12", "JF11"};
        QTest::newRow("any case, blanks around") << "  penguji mutu AHLI m " << QStringList{"JF13", "JF12"};
        QTest::newRow("percent is a character") << "%" << QStringList{"JF21"};
        QTest::newRow("underscore is a character") << "_" << QStringList{"JF22"};
        QTest::newRow("executor name") << "Pengadministrasi" << QStringList{};
        QTest::newRow("quote") << "Mutu' OR '1'='1" << QStringList{};
    }

    void ladder()
    {
        QFETCH(QString, fragment);
        QFETCH(QStringList, kodes);
        const QStringList rows =
            as(kPelaksana, QStringLiteral("CALL kinerja_jf_ab_master_show(:var_nama)"), {{"var_nama", fragment}});
        QCOMPARE(column(rows, 0), kodes);
    }

    void ladderRowsAndCompanions()
    {
        const QStringList rows =
            as(kPelaksana, QStringLiteral("CALL kinerja_jf_ab_master_show(:var_nama)"), {{"var_nama", "Penguji"}});
        QCOMPARE(rows, (QStringList{"JF13|Penguji Mutu Ahli Madya|Ahli Madya|1",
                                    "JF12|Penguji Mutu Ahli Muda|Ahli Muda|2",
                                    "JF11|Penguji Mutu Ahli Pertama|Ahli Pertama|1"}));
        // Above first, then below.
        QCOMPARE(as(kPelaksana, QStringLiteral("CALL kinerja_jf_ab_detail_show(:var_kode)"), {{"var_kode", "JF12"}}),
                 (QStringList{"3|JF13|Penguji Mutu Ahli Madya|Ahli Madya", "2|JF11|Penguji Mutu Ahli Pertama|Ahli Pertama"}));
        QCOMPARE(as(kPelaksana, QStringLiteral("CALL kinerja_jf_ab_detail_show(:var_kode)"), {{"var_kode", "Kode"}}),
                 QStringList{});
    }

    void verifiers_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QStringList>("rows");
        const QString analis = kAnalis + "|Analis Tiga|Analis Uji Ahli Muda|3";
        const QString guru = kGuru + "|Guru Enam|Guru Uji|1";
        const QString plt = kPlt + "|Analis Lima|Analis Uji Ahli Muda|1";
        QTest::newRow("all, by name") << "" << QStringList{plt, analis, guru};
        QTest::newRow("name") << "analis" << QStringList{plt, analis};
        QTest::newRow("nip fragment") << kGuru.mid(4, 8) << QStringList{guru};
        // The count stays the verifier's whole count, not the matching ones.
        QTest::newRow("verified position") << "Ahli Madya" << QStringList{plt};
        QTest::newRow("verified family") << "Penguji" << QStringList{plt, analis};
        QTest::newRow("percent is a character") << "100%" << QStringList{guru};
        QTest::newRow("lone percent") << "%" << QStringList{guru};
        QTest::newRow("underscore is a character") << "_" << QStringList{analis};
        QTest::newRow("no verifier") << "Kepala" << QStringList{};
    }

    void verifiers()
    {
        QFETCH(QString, keyword);
        QFETCH(QStringList, rows);
        QCOMPARE(as(kKepala, QStringLiteral("CALL kinerja_verifikator_show(:var_keyword)"), {{"var_keyword", keyword}}),
                 rows);
    }

    void positionsInfoAndChoices()
    {
        QCOMPARE(as(kKepala, QStringLiteral("CALL kinerja_verifikator_jabatan_show(:var_nip)"), {{"var_nip", kAnalis}})
                     .size(),
                 3);
        QCOMPARE(column(as(kKepala, QStringLiteral("CALL kinerja_verifikator_jabatan_show(:var_nip)"),
                           {{"var_nip", kAnalis}}),
                        2),
                 (QStringList{"Pengawas_Benih Terampil", "Penguji Mutu Ahli Muda", "Penguji Mutu Ahli Pertama"}));
        QCOMPARE(as(kKepala, QStringLiteral("CALL kinerja_verifikator_info(:var_nip)"), {{"var_nip", kGuru}}),
                 QStringList{kGuru + "|Guru Enam|IV/a - Pembina|Guru Uji|SD Negeri Uji|Dinas Uji Coba|Basic User|1|"
                                     "Pengawas 100% Lapangan"});
        QCOMPARE(as(kKepala, QStringLiteral("CALL kinerja_verifikator_info(:var_nip)"), {{"var_nip", kKabid}}),
                 QStringList{});
        // The choices: functional positions not assigned yet, by name.
        QCOMPARE(column(as(kKepala, QStringLiteral("CALL kinerja_verifikator_jabatan_pilih(:var_nip, :var_jabatan)"),
                           {{"var_nip", kAnalis}, {"var_jabatan", "Penguji"}}),
                        0),
                 QStringList{"JF13"});
        QCOMPARE(column(as(kKepala, QStringLiteral("CALL kinerja_verifikator_jabatan_pilih(:var_nip, :var_jabatan)"),
                           {{"var_nip", kKabid}, {"var_jabatan", "_"}}),
                        0),
                 QStringList{"JF22"});
    }

    // Every way an assignment must fail leaves verifiers and log as they
    // were; a refusal is a SIGNAL, never a quiet success.
    void assignRefused_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("kode");
        QTest::newRow("anonymous") << QString() << kKabid << "JF11";
        QTest::newRow("admin skpd") << kKabid << kKabid << "JF11";
        QTest::newRow("look-alike level") << kPengelola << kKabid << "JF11";
        QTest::newRow("already assigned") << kKepala << kAnalis << "JF12";
        QTest::newRow("unknown position") << kKepala << kKabid << "JF99";
        QTest::newRow("executor position") << kKepala << kKabid << "JP01";
        QTest::newRow("managerial position") << kKepala << kKabid << "200000";
        QTest::newRow("empty position") << kKepala << kKabid << "";
        QTest::newRow("unknown servant") << kKepala << "199999999999999999" << "JF11";
        QTest::newRow("left the service") << kKepala << kPurna << "JF11";
        QTest::newRow("empty servant") << kKepala << "" << "JF11";
    }

    void assignRefused()
    {
        QFETCH(QString, caller);
        QFETCH(QString, nip);
        QFETCH(QString, kode);
        const QString before = state();
        QCOMPARE(assign(caller, nip, kode), kRefused);
        QCOMPARE(state(), before);
    }

    void removeRefused_data()
    {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("kode");
        QTest::newRow("anonymous") << QString() << kAnalis << "JF11";
        QTest::newRow("basic user") << kPelaksana << kAnalis << "JF11";
        QTest::newRow("look-alike level") << kPengelola << kAnalis << "JF11";
        QTest::newRow("not assigned to this verifier") << kKepala << kAnalis << "JF13";
        QTest::newRow("not a verifier") << kKepala << kKabid << "JF11";
        QTest::newRow("unknown position") << kKepala << kAnalis << "JF99";
    }

    void removeRefused()
    {
        QFETCH(QString, caller);
        QFETCH(QString, nip);
        QFETCH(QString, kode);
        const QString before = state();
        QCOMPARE(removeAssignment(caller, nip, kode), kRefused);
        QCOMPARE(state(), before);
    }

    void assignAndRemoveAreLogged()
    {
        const QString logBefore = root("SELECT COUNT(*) FROM kinerja_log_proses");
        // A new verifier: the NIP as typed with blanks around it.
        QCOMPARE(assign(kKepala, " " + kKabid + " ", "JF13"), QStringList{});
        QCOMPARE(root("SELECT COUNT(*) FROM verifikator_kamus WHERE nip = '" + kKabid + "' AND kode_jabatan = 'JF13'"),
                 QStringLiteral("1"));
        QCOMPARE(testdb::rootQuery(kSchema, "SELECT nip, aksi, keterangan, target, tanggal_aksi >= NOW() - INTERVAL 1 "
                                            "MINUTE FROM kinerja_log_proses ORDER BY id DESC LIMIT 1"),
                 (QList<QStringList>{
                     {kKepala, "Verifikator Kamus - Tambah", "Verifikator kamus: Penguji Mutu Ahli Madya (JF13)", kKabid, "1"}}));
        // The same again would change nothing.
        QCOMPARE(assign(kKepala, kKabid, "JF13"), kRefused);

        QCOMPARE(removeAssignment(kKepala, kKabid, "JF13"), QStringList{});
        QCOMPARE(root("SELECT COUNT(*) FROM verifikator_kamus WHERE nip = '" + kKabid + "'"), QStringLiteral("0"));
        QCOMPARE(testdb::rootQuery(kSchema, "SELECT nip, aksi, keterangan, target FROM kinerja_log_proses "
                                            "ORDER BY id DESC LIMIT 1"),
                 (QList<QStringList>{{kKepala, "Verifikator Kamus - Hapus", "Verifikator kamus: Penguji Mutu Ahli Madya (JF13)",
                                      kKabid}}));
        QCOMPARE(removeAssignment(kKepala, kKabid, "JF13"), kRefused);
        QCOMPARE(root("SELECT COUNT(*) FROM kinerja_log_proses"), QString::number(logBefore.toInt() + 2));
    }
};

QTEST_GUILESS_MAIN(TestDictionaryRules)
#include "test_dictionary_rules.moc"
