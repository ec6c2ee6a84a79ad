// The log page's list at a million entries: each box is one range of the
// log's index, so the rows read follow the rows listed, not the size of the
// log. Prints, per case, the median time of kinerja_log_show as Admin
// System beside a bare SELECT of the same rows in the same run, and the
// index reads (Handler_read_*) of one call beside the rows it lists.
//   bench_log PORT SCHEMA PASSWORD RUNS
#include "benchstats.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

const QString kAdmin = QStringLiteral("190001012000011001");

std::map<QString, qint64> handlerReads(db::Query& q)
{
    std::map<QString, qint64> out;
    const db::ResultSet rs = q.open(QStringLiteral("SHOW SESSION STATUS LIKE 'Handler_read%'"));
    for (int r = 0; r < rs.recordCount(); ++r)
        out[rs.text(r, 0)] = rs.text(r, 1).toLongLong();
    return out;
}

double timed(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: bench_log PORT SCHEMA PASSWORD RUNS\n");
        return 2;
    }
    const db::ConnSettings appSettings = benchServer(argv);
    const int runs = QString::fromLocal8Bit(argv[4]).toInt();
    db::ConnSettings rootSettings = appSettings;
    rootSettings.user = QStringLiteral("root");
    rootSettings.password.clear();
    rootSettings.readTimeoutSec = 600;

    try {
        db::Connection root;
        root.open(rootSettings);
        db::Query r(root);
        // A minute apart over two years; every 50,000th an account reset.
        std::fprintf(stderr, "filling the log with 1,000,000 entries\n");
        r.exec(QStringLiteral("DELETE FROM kinerja_log_proses"));
        r.exec(QStringLiteral(
            "INSERT INTO kinerja_log_proses (nip, aksi, tanggal_aksi, keterangan) "
            "SELECT '190001012000011002', IF(seq % 50000 = 0, 'User', ELT(1 + seq % 8, 'LogIn', 'LogIn', "
            "'Aktivitas Harian Input', 'Aktivitas Harian Ubah', 'Verifikasi - Approve', 'Verifikasi - Sistem', "
            "'Validasi OK', 'Kamus - Tambah')), TIMESTAMP('2022-01-01') + INTERVAL seq MINUTE, "
            "IF(seq % 50000 = 0, 'Reset Akun', 'Sukses') FROM seq_1_to_1000000"));
        r.exec(QStringLiteral("ANALYZE TABLE kinerja_log_proses"));
        r.exec(QStringLiteral("UPDATE kinerja_user SET level = '5' WHERE nip = :n"), {{"n", kAdmin}});

        db::Connection conn;
        conn.open(appSettings);
        db::Query q(conn);
        const db::ResultSet login = q.open(QStringLiteral("CALL kinerja_cek_hak_akses(:n, 'skala2026')"), {{"n", kAdmin}});
        if (login.recordCount() == 0) {
            std::fprintf(stderr, "login refused\n");
            return 1;
        }
        q.exec(QStringLiteral("CALL kinerja_sesi_ikat(:t)"), {{"t", login.text(0, QStringLiteral("token"))}});

        struct Case {
            const char* name;
            QString from, to, kinds, bare;
        };
        const QList<Case> cases{
            {"two days, four boxes", "2022-06-01", "2022-06-02", "x,akt_input,verif_approve,login",
             "SELECT l.tanggal_aksi, l.nip, p.nama_lengkap, l.aksi, l.keterangan, l.target FROM kinerja_log_proses l "
             "LEFT JOIN cache_pns p ON p.nip = l.nip WHERE l.tanggal_aksi >= '2022-06-01' AND l.tanggal_aksi < "
             "'2022-06-03' AND l.aksi IN ('Aktivitas Harian Input', 'Verifikasi - Approve', 'Verifikasi - Sistem', "
             "'LogIn') ORDER BY l.tanggal_aksi DESC, l.id DESC"},
            {"four years, account resets", "2021-01-01", "2024-12-31", "x,reset_akun",
             "SELECT l.tanggal_aksi, l.nip, p.nama_lengkap, l.aksi, l.keterangan, l.target FROM kinerja_log_proses l "
             "LEFT JOIN cache_pns p ON p.nip = l.nip WHERE l.tanggal_aksi >= '2021-01-01' AND l.tanggal_aksi < "
             "'2025-01-01' AND l.aksi = 'User' AND l.keterangan = 'Reset Akun' ORDER BY l.tanggal_aksi DESC, l.id DESC"},
        };
        const QString show = QStringLiteral("CALL kinerja_log_show(:awal, :akhir, :jenis)");
        std::printf("%-28s %8s %10s %10s %12s %12s\n", "case", "rows", "read_next", "rnd_next", "list ms", "bare ms");
        for (const Case& c : cases) {
            const db::Params p{{"awal", c.from}, {"akhir", c.to}, {"jenis", c.kinds}};
            const auto before = handlerReads(q);
            const int rows = q.open(show, p).recordCount();
            const auto after = handlerReads(q);
            std::vector<double> ours, bare;
            for (int i = 0; i < runs; ++i) {
                ours.push_back(timed([&] { q.open(show, p); }));
                bare.push_back(timed([&] { r.open(c.bare); }));
            }
            std::printf("%-28s %8d %10lld %10lld %12.2f %12.2f\n", c.name, rows,
                        after.at("Handler_read_next") - before.at("Handler_read_next"),
                        after.at("Handler_read_rnd_next") - before.at("Handler_read_rnd_next"), median(ours),
                        median(bare));
        }
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
