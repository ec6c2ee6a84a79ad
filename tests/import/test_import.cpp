// The import of a regency's CSV files (tools/import, scripts/server.sh
// import): the checks of every row with their places, the formats that read
// the same, the first import and its repetition, what a second import keeps,
// refuses and logs, and an import cut off midway.
#include "importer.h"

#include "db/connection.h"
#include "db/query.h"
#include "testconfig.h"
#include "testdb.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <signal.h>

namespace {

// A fresh installation, and one with the demo data that the sample files
// describe.
const QString kEmpty = QStringLiteral("t_import");
const QString kDemo = QStringLiteral("t_import_demo");
const QString kSamples = QStringLiteral(TARVESA_SOURCE_DIR "/server/sample-import");
const QStringList kFiles{"unit.csv", "jabatan.csv", "jabatan_kinerja.csv", "pns.csv", "rincian_tugas.csv"};

const QString kRina = QStringLiteral("199209162019032002"); // Pengadministrasi Umum, BKPSDM, with activities
const QString kJoko = QStringLiteral("198807102010011004"); // her colleague under the same head

// The sample files in a folder of their own, to edit.
class Files {
public:
    Files()
    {
        for (const QString& f : kFiles)
            QFile::copy(kSamples + '/' + f, path(f));
    }
    QString dir() const { return tmp_.path(); }
    QString path(const QString& f) const { return tmp_.filePath(f); }

    QByteArray read(const QString& f) const
    {
        QFile file(path(f));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString& f, const QByteArray& bytes) const
    {
        QFile file(path(f));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // Replaces the first occurrence of from; answers the line it stood on.
    int replace(const QString& f, const QByteArray& from, const QByteArray& to) const
    {
        QByteArray bytes = read(f);
        const qsizetype at = bytes.indexOf(from);
        if (at < 0)
            return -1;
        const int line = int(bytes.left(at).count('\n')) + 1;
        bytes.replace(at, from.size(), to);
        write(f, bytes);
        return line;
    }
    // Adds a line at the end; answers its number.
    int append(const QString& f, const QByteArray& line) const
    {
        const QByteArray bytes = read(f);
        write(f, bytes + line + '\n');
        return int(bytes.count('\n')) + 1;
    }
    // Leaves out the line that holds text.
    void drop(const QString& f, const QByteArray& text) const
    {
        QList<QByteArray> lines = read(f).split('\n');
        lines.removeIf([&](const QByteArray& l) { return l.contains(text); });
        write(f, lines.join('\n'));
    }

private:
    QTemporaryDir tmp_;
};

// Runs the command as scripts/server.sh does, root over TCP.
int runImport(const QString& schema, const QString& dir, QString* output = nullptr, bool checkOnly = false)
{
    impor::Options o;
    o.dir = dir;
    o.connection = testdb::rootSettings(schema);
    o.connection.readTimeoutSec = 600;
    o.yes = true;
    o.checkOnly = checkOnly;
    o.allDetails = true;
    QString text;
    QTextStream out(&text);
    const int rc = impor::run(o, out, [] { return false; });
    out.flush();
    if (output)
        *output = text;
    return rc;
}

// Everything an import may write, as checksums: a failed or repeated import
// must leave it as it was.
QString digest(const QString& schema)
{
    QStringList sums;
    for (const QStringList& row : testdb::rootQuery(
             schema, QStringLiteral("CHECKSUM TABLE unit, jabatan, jabatan_kinerja, cache_pns, rincian_tugas, "
                                    "kinerja_impor, kinerja_impor_rinci, kinerja_atasan_peta, kinerja_progress_ah2, "
                                    "kinerja_user, aktivitas, plt, delegasi")))
        sums << row.value(1);
    return sums.join(',');
}

QString value(const QString& schema, const QString& sql)
{
    return testdb::rootValue(schema, sql);
}

// Rows of one schema's table that the other lacks, both ways, over the given
// columns.
QString tableDifference(const QString& table, const QString& columns, const QString& where = QStringLiteral("1"))
{
    const QString a = QStringLiteral("SELECT %1 FROM %2.%3 WHERE %4").arg(columns, kEmpty, table, where);
    const QString b = QStringLiteral("SELECT %1 FROM %2.%3 WHERE %4").arg(columns, kDemo, table, where);
    return value(kEmpty, QStringLiteral("SELECT CONCAT((SELECT COUNT(*) FROM (%1 EXCEPT ALL %2) x), '/', "
                                        "(SELECT COUNT(*) FROM (%2 EXCEPT ALL %1) y))").arg(a, b));
}

// The progress figures without their time stamps.
QList<QStringList> figures(const QString& schema)
{
    return testdb::rootQuery(schema, QStringLiteral(
        "SELECT nip, periode, target_menit, menit_diakui, menit_all, persen_diakui FROM kinerja_progress "
        "UNION ALL SELECT nip, periode, klasifikasi_id, p1, p2, ah2 FROM kinerja_progress_ah2 ORDER BY 1, 2, 3"));
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(testdb::createSchema(kEmpty));
        QVERIFY(testdb::createSchema(kDemo, {QStringLiteral("../../server/demo.sql")}));
        QVERIFY(testdb::rootExec(kDemo, QStringLiteral("CALL kinerja_progress_hitung_semua()")));
        QVERIFY(testdb::keepClean(kDemo));
    }

    void init()
    {
        QVERIFY(testdb::restoreSchema(kEmpty));
        QVERIFY(testdb::restoreSchema(kDemo));
    }

    // One wrong cell or row each: the problem names its file, line and
    // column, and the import changes nothing.
    void badRows_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("from"); // empty: "to" is a line added at the end
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, const char* file, const char* from, const char* to, const char* column,
                      const char* text) {
            QTest::newRow(name) << QString::fromLatin1(file) << QByteArray(from) << QByteArray(to)
                                << QString::fromLatin1(column) << QString::fromUtf8(text);
        };
        // pns.csv
        row("NIP of 17 digits", "pns.csv", "199209162019032002,", "19920916201903200,", "nip", "NIP harus 18 angka");
        row("NIP with a letter", "pns.csv", "199209162019032002,", "19920916201903200O,", "nip", "NIP harus 18 angka");
        row("NIP a spreadsheet made a number", "pns.csv", "199209162019032002,", "1.99209E+17,", "nip", "NIP harus 18 angka");
        row("NIP twice", "pns.csv", "", "199209162019032002,Rina Kembar,P,1992-09-16,22,J-BKPSDM-04,aktif", "nip",
            "kunci ganda: \"199209162019032002\" sudah ada di baris 11");
        row("unknown rank", "pns.csv", "Rina Marlina,P,1992-09-16,22,", "Rina Marlina,P,1992-09-16,29,", "golongan_id",
            "golongan \"29\" tidak dikenal");
        row("unknown position", "pns.csv", "22,J-BKPSDM-04,aktif", "22,J-BKPSDM-99,aktif", "kode_jabatan",
            "jabatan \"J-BKPSDM-99\" tidak ada di jabatan.csv");
        row("status in another case", "pns.csv", "J-BKPSDM-04,aktif", "J-BKPSDM-04,Aktif", "status_pns",
            "status \"Aktif\" tidak dikenal");
        row("sex neither L nor P", "pns.csv", "Rina Marlina,P,", "Rina Marlina,W,", "jenis_kelamin",
            "jenis kelamin harus L atau P");
        row("no such day", "pns.csv", "1992-09-16", "1992-02-30", "tanggal_lahir", "tanggal tidak terbaca");
        row("born in the future", "pns.csv", "1992-09-16", "16/09/2192", "tanggal_lahir", "tanggal tidak terbaca");
        row("name missing", "pns.csv", "Rina Marlina", "", "nama_lengkap", "wajib diisi");
        row("name as a formula", "pns.csv", "Rina Marlina", "=1+1", "nama_lengkap",
            "sel tampak seperti rumus spreadsheet (diawali \"=\")");
        row("name starting with @", "pns.csv", "Rina Marlina", "@SUM(A1)", "nama_lengkap", "diawali \"@\"");
        row("name too long", "pns.csv", "Rina Marlina", QByteArray(151, 'a').constData(), "nama_lengkap",
            "lebih dari 150 karakter");
        // jabatan.csv
        row("unit unknown", "jabatan.csv", "J-DPUPR-06,Pengawas Lapangan Pekerjaan Jalan,pelaksana,6,,,DPUPR-BM-JJ,",
            "J-DPUPR-06,Pengawas Lapangan Pekerjaan Jalan,pelaksana,6,,,DPUPR-XX,", "unit_id",
            "unit \"DPUPR-XX\" tidak ada di unit.csv");
        row("superior unknown", "jabatan.csv", "DPUPR-BM-JJ,J-DPUPR-04,JP0205", "DPUPR-BM-JJ,J-DPUPR-44,JP0205",
            "atasan_kode_jabatan", "jabatan atasan \"J-DPUPR-44\" tidak ada di jabatan.csv");
        row("own superior", "jabatan.csv", "DPUPR-BM-JJ,J-DPUPR-04,JP0205", "DPUPR-BM-JJ,J-DPUPR-06,JP0205",
            "atasan_kode_jabatan", "jabatan tidak boleh menjadi atasannya sendiri");
        row("superiors in a circle", "jabatan.csv", "Pembangunan Daerah,struktural,14,II.b,,BAPPEDA,J-SETDA-01,",
            "Pembangunan Daerah,struktural,14,II.b,,BAPPEDA,J-BAPPEDA-03,", "atasan_kode_jabatan",
            "rantai atasan berputar: J-BAPPEDA-01 -> J-BAPPEDA-03 -> J-BAPPEDA-01");
        row("class not a number", "jabatan.csv", "pelaksana,6,,,DPUPR-BM-JJ", "pelaksana,enam,,,DPUPR-BM-JJ",
            "kelas_jabatan", "kelas jabatan harus bilangan bulat 0 sampai 17");
        row("class above 17", "jabatan.csv", "pelaksana,6,,,DPUPR-BM-JJ", "pelaksana,18,,,DPUPR-BM-JJ", "kelas_jabatan",
            "kelas jabatan harus bilangan bulat 0 sampai 17");
        row("unknown echelon", "jabatan.csv", "Sekretaris Daerah,struktural,15,II.a,", "Sekretaris Daerah,struktural,15,II.c,",
            "eselon", "eselon \"II.c\" tidak dikenal");
        row("unknown kind", "jabatan.csv", "Pengawas Lapangan Pekerjaan Jalan,pelaksana,", "Pengawas Lapangan Pekerjaan Jalan,honorer,",
            "jenis_jabatan_id", "jenis jabatan \"honorer\" tidak dikenal");
        row("unknown performance position", "jabatan.csv", "J-DPUPR-04,JP0205", "J-DPUPR-04,JP9999",
            "kode_jabatan_kinerja", "jabatan kinerja \"JP9999\" tidak ada di jabatan_kinerja.csv");
        row("position twice", "jabatan.csv", "", "J-DPUPR-06,Pengawas Kedua,pelaksana,6,,,DPUPR-BM-JJ,J-DPUPR-04,JP0205",
            "kode_jabatan", "kunci ganda: \"J-DPUPR-06\" sudah ada di baris 47");
        row("code with a comma", "jabatan.csv", "", "\"J-DPUPR,07\",Juru Ukur,pelaksana,5,,,DPUPR-BM-JJ,J-DPUPR-04,JP0205",
            "kode_jabatan", "kode hanya boleh berisi huruf, angka");
        row("code with a blank", "jabatan.csv", "", "J-DPUPR 07,Juru Ukur,pelaksana,5,,,DPUPR-BM-JJ,J-DPUPR-04,JP0205",
            "kode_jabatan", "kode hanya boleh berisi huruf, angka");
        // unit.csv
        row("parent unknown", "unit.csv", "BAPPEDA-EKO,Bidang Perencanaan Perekonomian dan Sumber Daya Alam,BAPPEDA,",
            "BAPPEDA-EKO,Bidang Perencanaan Perekonomian dan Sumber Daya Alam,BAPEDA,", "parent_id",
            "unit induk \"BAPEDA\" tidak ada di unit.csv");
        row("units in a circle", "unit.csv", "BAPPEDA,Badan Perencanaan Pembangunan Daerah,,",
            "BAPPEDA,Badan Perencanaan Pembangunan Daerah,BAPPEDA-EKO,", "parent_id",
            "rantai atasan berputar: BAPPEDA -> BAPPEDA-EKO -> BAPPEDA");
        row("head position unknown", "unit.csv", "BAPPEDA,J-BAPPEDA-03", "BAPPEDA,J-BAPPEDA-33", "kode_jabatan_kepala",
            "jabatan kepala \"J-BAPPEDA-33\" tidak ada di jabatan.csv");
        row("unit twice, in another case", "unit.csv", "", "bappeda,Badan Lain,,", "id",
            "kunci ganda: \"bappeda\" sudah ada di baris 2");
        row("unit name too long", "unit.csv", "Badan Perencanaan Pembangunan Daerah", QByteArray(201, 'x').constData(),
            "nama_unit", "lebih dari 200 karakter");
        // jabatan_kinerja.csv
        row("unknown level", "jabatan_kinerja.csv", "JF0101,Analis Kepegawaian Ahli Pertama,fungsional,K1",
            "JF0101,Analis Kepegawaian Ahli Pertama,fungsional,K9", "jenjang_id", "jenjang \"K9\" tidak dikenal");
        row("performance position twice", "jabatan_kinerja.csv", "", "JF0101,Lagi,fungsional,K1", "kode",
            "kunci ganda: \"JF0101\" sudah ada di baris 2");
        // rincian_tugas.csv
        row("no minutes", "rincian_tugas.csv", "Melayani tamu dinas,Orang,15,1", "Melayani tamu dinas,Orang,0,1",
            "bobot_skr", "menit standar harus bilangan bulat 1 sampai 1440");
        row("more than a day", "rincian_tugas.csv", "Melayani tamu dinas,Orang,15,1", "Melayani tamu dinas,Orang,1441,1",
            "bobot_skr", "menit standar harus bilangan bulat 1 sampai 1440");
        row("negative minutes", "rincian_tugas.csv", "Melayani tamu dinas,Orang,15,1", "Melayani tamu dinas,Orang,-15,1",
            "bobot_skr", "rumus spreadsheet");
        row("minutes with a decimal", "rincian_tugas.csv", "Melayani tamu dinas,Orang,15,1",
            "Melayani tamu dinas,Orang,\"15,5\",1", "bobot_skr", "menit standar harus bilangan bulat");
        row("active neither 1 nor 0", "rincian_tugas.csv", "Melayani tamu dinas,Orang,15,1", "Melayani tamu dinas,Orang,15,ya",
            "aktif", "aktif harus 1 atau 0");
        row("unknown performance position of a task", "rincian_tugas.csv", "JP0201,Melayani tamu dinas",
            "JP0299,Melayani tamu dinas", "kode_jabatan", "jabatan kinerja \"JP0299\" tidak ada");
        row("task twice in another case", "rincian_tugas.csv", "", "JP0201,MELAYANI TAMU DINAS,Orang,20,1",
            "rincian_tugas", "kunci ganda");
    }

    void badRows()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, column);
        QFETCH(QString, text);
        Files f;
        const int line = from.isEmpty() ? f.append(file, to) : f.replace(file, from, to);
        QVERIFY2(line > 0, "the sample files lack the text to replace");
        const QString before = digest(kDemo);
        QString out;
        QCOMPARE(runImport(kDemo, f.dir(), &out), 1);
        const QString place = QStringLiteral("%1, baris %2, kolom %3: ").arg(file).arg(line).arg(column);
        QVERIFY2(out.contains(place) && out.contains(text), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("Ditemukan 1 kesalahan; tidak ada yang diubah")), qPrintable(out));
        QCOMPARE(digest(kDemo), before);
    }

    // Files that cannot be read as CSV of our columns: one clear problem at
    // its place, nothing changed.
    void badFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Latin-1 byte") << "pns.csv" << "latin1" << "pns.csv, baris 2, kolom nama_lengkap: bukan teks UTF-8";
        QTest::newRow("UTF-16") << "unit.csv" << "utf16" << "unit.csv, baris 1: berkas berenkode UTF-16";
        QTest::newRow("column missing") << "pns.csv" << "nostatus"
                                        << "pns.csv, baris 1, kolom status_pns: kolom tidak ada di baris judul";
        QTest::newRow("column unknown") << "jabatan.csv" << "extra" << "jabatan.csv, baris 1, kolom keterangan: kolom tidak dikenal";
        QTest::newRow("quote left open") << "pns.csv" << "openquote"
                                         << "pns.csv, baris 2, kolom nama_lengkap: tanda kutip yang dibuka di sini tidak ditutup";
        QTest::newRow("quote left open at the end") << "rincian_tugas.csv" << "openlast"
                                                    << "rincian_tugas.csv, baris 318, kolom rincian_tugas: tanda kutip yang dibuka di sini tidak ditutup";
        QTest::newRow("quote inside a cell") << "pns.csv" << "innerquote"
                                             << "pns.csv, baris 10, kolom nama_lengkap: tanda kutip di tengah sel";
        QTest::newRow("80 MB line") << "rincian_tugas.csv" << "longline"
                                    << "rincian_tugas.csv, baris 318: baris lebih panjang dari 65536 byte";
        QTest::newRow("cells missing") << "unit.csv" << "short" << "unit.csv, baris 40: baris ini punya 2 sel, baris judul 4";
        QTest::newRow("file missing") << "rincian_tugas.csv" << "missing" << "rincian_tugas.csv: berkas tidak ada";
        QTest::newRow("file empty") << "jabatan_kinerja.csv" << "empty" << "jabatan_kinerja.csv: berkas kosong";
    }

    void badFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        Files f;
        if (kind == "latin1")
            f.replace(file, "Gunawan", "Gun\xE2wan");
        else if (kind == "utf16") {
            const QString text = QString::fromUtf8(f.read(file));
            f.write(file, QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
        }
        else if (kind == "nostatus")
            f.write(file, f.read(file).replace(",status_pns\n", "\n").replace(",aktif\n", "\n"));
        else if (kind == "extra")
            f.write(file, f.read(file).replace("kode_jabatan_kinerja\n", "kode_jabatan_kinerja,keterangan\n"));
        else if (kind == "openquote")
            f.replace(file, "\"Ir. Gunawan Setiadi, M.Sc.\"", "\"Ir. Gunawan Setiadi, M.Sc.");
        else if (kind == "openlast")
            f.append(file, "JP0201,\"Menyusun laporan,Dokumen,30,1");
        else if (kind == "innerquote")
            f.replace(file, "Joko Susanto", "Joko \"JS\" Susanto");
        else if (kind == "longline")
            f.append(file, "JP0201," + QByteArray(80 * 1024 * 1024, 'x') + ",Dokumen,30,1");
        else if (kind == "short")
            f.append(file, "X-1,Unit Pendek");
        else if (kind == "missing")
            QFile::remove(f.path(file));
        else if (kind == "empty")
            f.write(file, {});
        const QString before = digest(kDemo);
        QString out;
        QCOMPARE(runImport(kDemo, f.dir(), &out), 1);
        QVERIFY2(out.contains(expected), qPrintable(out));
        QCOMPARE(digest(kDemo), before);
    }

    // What spreadsheets write differently reads the same: a byte order mark,
    // CRLF, ";" between cells, columns in another order, days as 16/09/1992,
    // blank lines and lines of empty cells. The sample files describe the
    // demo exactly, so importing them changes nothing.
    void formatsThatReadTheSame_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("as shipped") << "";
        QTest::newRow("BOM and CRLF") << "bomcrlf";
        QTest::newRow("semicolons") << "semicolon";
        QTest::newRow("columns reordered") << "reorder";
        QTest::newRow("day first") << "dayfirst";
        QTest::newRow("empty rows") << "emptyrows";
    }

    void formatsThatReadTheSame()
    {
        QFETCH(QString, kind);
        Files f;
        if (kind == "bomcrlf") {
            for (const QString& file : kFiles)
                f.write(file, "\xEF\xBB\xBF" + f.read(file).replace("\n", "\r\n"));
        } else if (kind == "semicolon") {
            // No cell of the unit file holds a comma or a semicolon.
            f.write("unit.csv", f.read("unit.csv").replace(',', ';'));
        } else if (kind == "reorder") {
            QList<QByteArray> lines = f.read("unit.csv").split('\n');
            for (QByteArray& l : lines) {
                const QList<QByteArray> c = l.split(',');
                if (c.size() == 4)
                    l = c[3] + ',' + c[1] + ',' + c[0] + ',' + c[2];
            }
            f.write("unit.csv", lines.join('\n'));
        } else if (kind == "dayfirst") {
            const QString text = QString::fromUtf8(f.read("pns.csv"))
                                     .replace(QRegularExpression(QStringLiteral(",(\\d{4})-(\\d{2})-(\\d{2}),")),
                                              QStringLiteral(",\\3/\\2/\\1,"));
            QVERIFY(text.contains(QStringLiteral(",16/09/1992,")));
            f.write("pns.csv", text.toUtf8());
        } else if (kind == "emptyrows") {
            f.write("jabatan.csv", f.read("jabatan.csv") + "\n,,,,,,,,\n\n");
        }
        const QString before = digest(kDemo);
        QString out;
        QCOMPARE(runImport(kDemo, f.dir(), &out), 0);
        QVERIFY2(out.contains(QStringLiteral("Tidak ada perubahan")), qPrintable(out));
        QCOMPARE(digest(kDemo), before);
    }

    // Into a new installation: every row of the files, with the derived
    // columns (top units, classifications, the names of the personnel
    // cache) as the demo has them, logged; the same files again change
    // nothing and log nothing.
    void firstImportThenTheSameAgain()
    {
        QString out;
        QCOMPARE(runImport(kEmpty, kSamples, &out), 0);
        QVERIFY2(out.contains(QStringLiteral("Diterapkan")), qPrintable(out));
        QCOMPARE(tableDifference("unit", "id, nama_unit, induk_id, parent_id, kode_jabatan_kepala"), QStringLiteral("0/0"));
        QCOMPARE(tableDifference("jabatan", "kode_jabatan, nama_jabatan, jenis_jabatan_id, kelas_jabatan, eselon, jenjang_id, "
                                            "unit_id, induk_id, atasan_kode_jabatan, kode_jabatan_kinerja, kode_klasifikasi"),
                 QStringLiteral("0/0"));
        QCOMPARE(tableDifference("jabatan_kinerja", "kode, nama_jabatan, jenis_jabatan_id, jenjang_id"), QStringLiteral("0/0"));
        QCOMPARE(tableDifference("cache_pns", "nip, nama_lengkap, jenis_kelamin, tanggal_lahir, golongan_id, kode_jabatan, "
                                              "jenis_jabatan_id, nama_jabatan, kelas_jabatan, unit_id, nama_unit, induk_id, "
                                              "nama_induk, status_pns"),
                 QStringLiteral("0/0"));
        QCOMPARE(tableDifference("rincian_tugas", "kode_jabatan, rincian_tugas, satuan, bobot_skr, aktif"), QStringLiteral("0/0"));
        QCOMPARE(value(kEmpty, "SELECT COUNT(*) FROM kinerja_impor"), QStringLiteral("1"));
        QCOMPARE(value(kEmpty, "SELECT COUNT(*) FROM kinerja_impor_rinci"),
                 value(kEmpty, "SELECT (SELECT COUNT(*) FROM unit) + (SELECT COUNT(*) FROM jabatan) "
                               "+ (SELECT COUNT(*) - 2 FROM jabatan_kinerja) + (SELECT COUNT(*) FROM cache_pns) "
                               "+ (SELECT COUNT(*) FROM rincian_tugas)"));
        // The superior map was built for the new people.
        QCOMPARE(value(kEmpty, "SELECT atasan FROM kinerja_atasan_peta WHERE nip = '" + kRina + "'"),
                 QStringLiteral("198702032011011001"));

        const QString after = digest(kEmpty);
        QCOMPARE(runImport(kEmpty, kSamples, &out), 0);
        QVERIFY2(out.contains(QStringLiteral("Tidak ada perubahan")), qPrintable(out));
        QCOMPARE(digest(kEmpty), after);
    }

    // A second import into years of work: who left keeps their rows, account
    // and activities; a task entry left out is deactivated, not deleted; a
    // unit or position still referred to stays, one nobody refers to goes;
    // moves reach the personnel cache, the superior map and the figures.
    void secondImportKeepsHistory()
    {
        Files f;
        f.drop("pns.csv", kRina.toLatin1());
        // Joko moves to the Setda as its clerk.
        f.replace("pns.csv", "198807102010011004,Joko Susanto,L,1988-07-10,24,J-BKPSDM-04",
                  "198807102010011004,Joko Susanto,L,1988-07-10,24,J-SETDA-05");
        f.drop("rincian_tugas.csv", "JP0201,Melayani tamu dinas,");
        f.replace("rincian_tugas.csv", "JP0201,Membuat notulen rapat,Dokumen,60,1", "JP0201,Membuat notulen rapat,Dokumen,75,1");
        // Nobody holds, assigns or leads through this new position: it goes
        // again below.
        f.append("jabatan.csv", "J-DPUPR-07,Juru Ukur,pelaksana,5,,,DPUPR-BM-JJ,J-DPUPR-04,JP0205");
        // A functional position renamed: a change of the ladder.
        f.replace("jabatan_kinerja.csv", "JF0101,Analis Kepegawaian Ahli Pertama,fungsional,K1",
                  "JF0101,Analis SDM Aparatur Ahli Pertama,fungsional,K1");
        QCOMPARE(runImport(kDemo, f.dir()), 0);
        // The dictionary's changes reach the process log under the kinds of
        // the log page's "Kamus" boxes, as the server's rows.
        const auto logged = [](const QString& aksi, const QString& entry) {
            return value(kDemo, "SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = '" + aksi +
                                    "' AND sumber = 'server' AND keterangan LIKE 'Impor: %" + entry + "'");
        };
        QCOMPARE(logged("Kamus - Hapus", "JP0201 / Melayani tamu dinas"), QStringLiteral("1"));
        QCOMPARE(logged("Kamus - Ubah", "JP0201 / Membuat notulen rapat"), QStringLiteral("1"));
        QCOMPARE(logged("JF Atas Bawah - Ubah", "JF0101"), QStringLiteral("1"));
        QCOMPARE(value(kDemo, "SELECT COUNT(*) FROM kinerja_log_proses WHERE aksi = 'Kamus - Tambah' AND "
                              "tanggal_aksi > NOW() - INTERVAL 1 HOUR"),
                 QStringLiteral("0"));
        // A delegation leads through the Sekretariat of Bappeda: it stays
        // when the file drops it.
        f.drop("unit.csv", "BAPPEDA-SEK,");
        f.replace("unit.csv", "BAPPEDA,Badan Perencanaan Pembangunan Daerah,,", "BAPPEDA,Bappeda Kelordan,,");
        f.drop("jabatan.csv", "J-BAPPEDA-02,");
        f.drop("pns.csv", ",J-BAPPEDA-02,");
        f.drop("jabatan.csv", "J-DPUPR-07,");
        const QString activities = value(kDemo, "SELECT COUNT(*) FROM aktivitas WHERE nip = '" + kRina + "'");
        const QString task = value(kDemo, "SELECT kode FROM rincian_tugas WHERE kode_jabatan = 'JP0201' "
                                          "AND rincian_tugas = 'Melayani tamu dinas'");
        QString out;
        QCOMPARE(runImport(kDemo, f.dir(), &out), 0);

        QCOMPARE(value(kDemo, "SELECT status_pns FROM cache_pns WHERE nip = '" + kRina + "'"), QStringLiteral("nonaktif"));
        QCOMPARE(value(kDemo, "SELECT COUNT(*) FROM aktivitas WHERE nip = '" + kRina + "'"), activities);
        QCOMPARE(value(kDemo, "SELECT COUNT(*) FROM kinerja_user WHERE nip = '" + kRina + "'"), QStringLiteral("1"));
        QCOMPARE(value(kDemo, "SELECT aktif FROM rincian_tugas WHERE kode = " + task), QStringLiteral("0"));
        QCOMPARE(value(kDemo, "SELECT bobot_skr FROM rincian_tugas WHERE kode_jabatan = 'JP0201' "
                              "AND rincian_tugas = 'Membuat notulen rapat'"),
                 QStringLiteral("75"));
        QCOMPARE(value(kDemo, "SELECT COUNT(*) FROM unit WHERE id = 'BAPPEDA-SEK'"), QStringLiteral("1"));
        QCOMPARE(value(kDemo, "SELECT COUNT(*) FROM jabatan WHERE kode_jabatan IN ('J-DPUPR-07')"), QStringLiteral("0"));
        QVERIFY2(out.contains(QStringLiteral("tidak ada di berkas tetapi masih dirujuk")), qPrintable(out));
        // Moved: the cache's names, the top unit's renamed name, the map.
        QCOMPARE(value(kDemo, "SELECT CONCAT_WS('|', kode_jabatan, nama_unit, induk_id) FROM cache_pns WHERE nip = '" + kJoko + "'"),
                 QStringLiteral("J-SETDA-05|Sub Bagian Kelembagaan dan Analisis Jabatan|SETDA"));
        // (who left keeps the names of the last placement)
        QCOMPARE(value(kDemo, "SELECT GROUP_CONCAT(DISTINCT nama_induk) FROM cache_pns WHERE induk_id = 'BAPPEDA' "
                              "AND status_pns = 'aktif'"),
                 QStringLiteral("Bappeda Kelordan"));
        QCOMPARE(value(kDemo, "SELECT atasan FROM kinerja_atasan_peta WHERE nip = '" + kJoko + "'"),
                 value(kDemo, "SELECT nip FROM cache_pns WHERE kode_jabatan = 'J-SETDA-03'"));
        QCOMPARE(value(kDemo, "SELECT COUNT(*) FROM kinerja_atasan_peta WHERE nip = '" + kRina + "'"), QStringLiteral("0"));
        QCOMPARE(value(kDemo, "SELECT dibangun = ubah FROM kinerja_atasan_peta_versi"), QStringLiteral("1"));
        // The figures are what a recompute now gives.
        const QList<QStringList> figuresAfter = figures(kDemo);
        QVERIFY(testdb::rootExec(kDemo, "CALL kinerja_progress_hitung(DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m')); "
                                        "CALL kinerja_progress_hitung(DATE_FORMAT(NOW(), '%Y%m'));"));
        QCOMPARE(figures(kDemo), figuresAfter);
        QCOMPARE(value(kDemo, "SELECT COUNT(*) FROM kinerja_progress WHERE nip = '" + kRina + "'"), QStringLiteral("0"));
        // Logged, row by row.
        QCOMPARE(value(kDemo, "SELECT COUNT(*) FROM kinerja_impor"), QStringLiteral("2"));
        QCOMPARE(value(kDemo, "SELECT CONCAT_WS('|', tabel, aksi, perubahan) FROM kinerja_impor_rinci "
                              "WHERE impor_id = (SELECT MAX(id) FROM kinerja_impor) AND kunci = 'J-DPUPR-07'"),
                 QStringLiteral("jabatan|hapus"));

        const QString after = digest(kDemo);
        QCOMPARE(runImport(kDemo, f.dir(), &out), 0);
        QVERIFY2(out.contains(QStringLiteral("Tidak ada perubahan")), qPrintable(out));
        QCOMPARE(digest(kDemo), after);
    }

    // --periksa shows the difference and writes nothing.
    void checkOnlyWritesNothing()
    {
        Files f;
        f.drop("pns.csv", kRina.toLatin1());
        const QString before = digest(kDemo);
        QString out;
        QCOMPARE(runImport(kDemo, f.dir(), &out, true), 0);
        QVERIFY2(out.contains(kRina) && out.contains(QStringLiteral("Hanya pemeriksaan")), qPrintable(out));
        QCOMPARE(digest(kDemo), before);
    }

    // The schema changed between the check and the apply: nothing is
    // applied.
    void changedMeanwhileIsRefused()
    {
        Files f;
        f.drop("pns.csv", kRina.toLatin1());
        db::Connection conn;
        conn.open(testdb::rootSettings(kDemo));
        impor::Importer importer(conn);
        QVERIFY(importer.read(f.dir()));
        const impor::Plan plan = importer.plan();
        QCOMPARE(plan.writes(), 1);
        QVERIFY(testdb::rootExec(kDemo, "UPDATE cache_pns SET nama_lengkap = 'Joko S.' WHERE nip = '" + kJoko + "'"));
        const QString before = digest(kDemo);
        QVERIFY_THROWS_EXCEPTION(impor::Importer::Stale, importer.apply(plan, f.dir()));
        QCOMPARE(digest(kDemo), before);
    }

    // The command killed while it writes: the server rolls its transaction
    // back, and the data is as it was.
    void interruptedImportChangesNothing()
    {
        Files f;
        f.drop("pns.csv", kRina.toLatin1());
        f.replace("rincian_tugas.csv", "JP0201,Membuat notulen rapat,Dokumen,60,1", "JP0201,Membuat notulen rapat,Dokumen,75,1");
        const QString before = digest(kDemo);
        // The log comes last: a lock on the end of its table holds the
        // import after every other write.
        db::Connection holder;
        holder.open(testdb::rootSettings(kDemo));
        db::Query q(holder);
        q.exec("START TRANSACTION");
        q.exec("SELECT * FROM kinerja_impor FOR UPDATE");

        QFile cnf(f.path("client.cnf"));
        QVERIFY(cnf.open(QIODevice::WriteOnly));
        cnf.write(QStringLiteral("[client]\nuser=root\nhost=127.0.0.1\nport=%1\nprotocol=TCP\n").arg(testdb::port()).toUtf8());
        cnf.close();
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QStringLiteral(TARVESA_BINARY_DIR "/tarvesa-impor"),
                   {"--defaults-file", cnf.fileName(), "--schema", kDemo, "--ya", f.dir()});
        QVERIFY(tool.waitForStarted());
        bool waiting = false;
        for (int i = 0; i < 600 && !waiting && tool.state() == QProcess::Running; ++i) {
            QThread::msleep(100);
            waiting = testdb::lockWaits(kDemo) > 0;
        }
        QVERIFY2(waiting, tool.readAll().constData());
        ::kill(pid_t(tool.processId()), SIGKILL);
        QVERIFY(tool.waitForFinished());
        q.exec("ROLLBACK");
        holder.close();
        // The server finds its client gone when the insert goes through.
        for (int i = 0; i < 300; ++i) {
            if (value(QString(), "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB = '" + kDemo + "'") == "0")
                break;
            QThread::msleep(100);
        }
        QCOMPARE(digest(kDemo), before);
        QCOMPARE(value(kDemo, "SELECT status_pns FROM cache_pns WHERE nip = '" + kRina + "'"), QStringLiteral("aktif"));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"
