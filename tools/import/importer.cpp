#include "importer.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/resultset.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <mysql.h>

#include <algorithm>
#include <map>

namespace impor {

namespace {

// --- The files ---------------------------------------------------------------

struct Column {
    const char* name;
    int max; // characters; a column of fixed values or numbers has its own check instead
    bool required;
};

constexpr int kChecked = 100;

struct FileSpec {
    const char* file;
    std::vector<Column> columns;
};

const FileSpec kUnitFile{"unit.csv",
                         {{"id", 20, true}, {"nama_unit", 200, true}, {"parent_id", 20, false},
                          {"kode_jabatan_kepala", 20, false}}};
const FileSpec kKinerjaFile{"jabatan_kinerja.csv",
                            {{"kode", 20, true}, {"nama_jabatan", 200, true}, {"jenis_jabatan_id", kChecked, false},
                             {"jenjang_id", kChecked, false}}};
const FileSpec kJabatanFile{"jabatan.csv",
                            {{"kode_jabatan", 20, true}, {"nama_jabatan", 200, true},
                             {"jenis_jabatan_id", kChecked, true}, {"kelas_jabatan", kChecked, true},
                             {"eselon", kChecked, false}, {"jenjang_id", kChecked, false}, {"unit_id", 20, true},
                             {"atasan_kode_jabatan", 20, false}, {"kode_jabatan_kinerja", 20, false}}};
const FileSpec kPnsFile{"pns.csv",
                        {{"nip", kChecked, true}, {"nama_lengkap", 150, true}, {"jenis_kelamin", kChecked, true},
                         {"tanggal_lahir", kChecked, false}, {"golongan_id", kChecked, true},
                         {"kode_jabatan", 20, true}, {"status_pns", kChecked, true}}};
const FileSpec kTaskFile{"rincian_tugas.csv",
                         {{"kode_jabatan", 20, true}, {"rincian_tugas", 500, true}, {"satuan", 60, true},
                          {"bobot_skr", kChecked, true}, {"aktif", kChecked, true}}};

// The files in the order their digest is taken.
const FileSpec* const kFiles[] = {&kUnitFile, &kJabatanFile, &kKinerjaFile, &kPnsFile, &kTaskFile};

// Performance positions of the schema itself: the managerial and the general
// task details are filed under them, whatever the files list.
const QStringList kBuiltInKinerja{QStringLiteral("200000"), QStringLiteral("300000")};

const QStringList kEselon{"II.a", "II.b", "III.a", "III.b", "IV.a", "IV.b"};
// "aktif" serves; every other status keeps the servant's rows and history
// out of the lists and figures.
const QStringList kStatus{"aktif", "nonaktif", "pensiun", "pindah", "berhenti", "meninggal"};
// The status of a servant who is missing from pns.csv.
const QString kGoneStatus = QStringLiteral("nonaktif");

// Codes travel in comma-separated filter lists: no comma, no blank.
const QRegularExpression kCode(QStringLiteral("^[A-Za-z0-9._/-]+$"));

// Keys compare as the schema's collation compares them: without regard to
// case.
QString key(const QString& s)
{
    return s.toCaseFolded();
}

// The checked cells of one file: each row's cells by column, with the
// place of each for problems.
class FileRows {
public:
    FileRows(const FileSpec& spec, QList<Problem>* problems) : spec_(spec), problems_(problems) {}

    // Reads the file; false when it cannot be read at all (missing, broken,
    // columns missing).
    bool read(const QString& dir)
    {
        if (!readCsv(QDir(dir).filePath(QString::fromLatin1(spec_.file)), QString::fromLatin1(spec_.file), &table_,
                     problems_))
            return false;
        bool ok = true;
        index_.assign(spec_.columns.size(), -1);
        for (int h = 0; h < table_.header.size(); ++h) {
            const QString name = table_.header[h];
            int found = -1;
            for (size_t c = 0; c < spec_.columns.size(); ++c)
                if (name.compare(QLatin1String(spec_.columns[c].name), Qt::CaseInsensitive) == 0)
                    found = int(c);
            if (found < 0) {
                add(1, name, QStringLiteral("kolom tidak dikenal; kolom berkas ini: %1").arg(names()));
                ok = false;
            } else if (index_[size_t(found)] >= 0) {
                add(1, name, QStringLiteral("kolom ganda"));
                ok = false;
            } else {
                index_[size_t(found)] = h;
            }
        }
        for (size_t c = 0; c < spec_.columns.size(); ++c) {
            if (index_[c] < 0) {
                add(1, QString::fromLatin1(spec_.columns[c].name), QStringLiteral("kolom tidak ada di baris judul"));
                ok = false;
            }
        }
        return ok;
    }

    size_t size() const { return table_.rows.size(); }
    qint64 line(size_t row) const { return table_.rows[row].line; }

    // The cell of a row, checked for what every cell must be: not a
    // formula, within its length, present when required. Empty after a
    // problem, and *ok cleared.
    QString cell(size_t row, int col, bool* ok)
    {
        const Column& c = spec_.columns[size_t(col)];
        const QString v = table_.rows[row].cells.value(index_[size_t(col)]);
        if (!v.isEmpty() && QStringLiteral("=+-@").contains(v[0])) {
            problem(row, col, QStringLiteral("sel tampak seperti rumus spreadsheet (diawali \"%1\")").arg(v[0]));
        } else if (v.size() > c.max) {
            problem(row, col, QStringLiteral("lebih dari %1 karakter").arg(c.max));
        } else if (c.required && v.isEmpty()) {
            problem(row, col, QStringLiteral("wajib diisi"));
        } else {
            return v;
        }
        *ok = false;
        return {};
    }

    void problem(size_t row, int col, const QString& text)
    {
        add(line(row), QString::fromLatin1(spec_.columns[size_t(col)].name), text);
    }

    QString file() const { return QString::fromLatin1(spec_.file); }

private:
    QString names() const
    {
        QStringList n;
        for (const Column& c : spec_.columns)
            n << QString::fromLatin1(c.name);
        return n.join(QStringLiteral(", "));
    }

    void add(qint64 line, const QString& column, const QString& text)
    {
        problems_->append({QString::fromLatin1(spec_.file), line, column, text});
    }

    const FileSpec& spec_;
    QList<Problem>* problems_;
    CsvTable table_;
    std::vector<int> index_;
};

QString quote(const QString& v)
{
    return QLatin1Char('"') + v + QLatin1Char('"');
}

// Whole numbers as the schema prints them: no sign, no leading zeros.
bool wholeNumber(const QString& v, int min, int max, QString* out)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(v).hasMatch())
        return false;
    const int n = v.toInt();
    if (n < min || n > max)
        return false;
    *out = QString::number(n);
    return true;
}

// A day as spreadsheets write it: 1970-03-12, 12/03/1970 or 12-03-1970.
QDate parseDate(const QString& v)
{
    for (const char* format : {"yyyy-MM-dd", "dd/MM/yyyy", "dd-MM-yyyy", "d/M/yyyy", "d-M-yyyy"}) {
        const QDate d = QDate::fromString(v, QString::fromLatin1(format));
        if (d.isValid())
            return d;
    }
    return {};
}

// Reports each cycle of a "points to the one above" relation once, at the
// member that comes first in its file. keys[i] and up[i] belong to file row
// fileRow[i].
void findCycles(FileRows& rows, int column, const std::vector<QString>& keys, const std::vector<QString>& up,
                const std::vector<size_t>& fileRow)
{
    QHash<QString, size_t> at;
    for (size_t i = 0; i < keys.size(); ++i)
        at.insert(key(keys[i]), i);
    std::vector<int> state(keys.size(), 0); // 0 unseen, 1 on the current walk, 2 done
    for (size_t start = 0; start < keys.size(); ++start) {
        std::vector<size_t> walk;
        size_t i = start;
        bool round = false;
        while (state[i] == 0) {
            state[i] = 1;
            walk.push_back(i);
            const auto next = up[i].isEmpty() ? at.constEnd() : at.constFind(key(up[i]));
            if (next == at.constEnd())
                break;
            round = state[*next] == 1;
            i = *next;
        }
        if (round) {
            // The walk came back to i: the cycle is i and what follows it.
            const std::vector<size_t> cycle(std::find(walk.begin(), walk.end(), i), walk.end());
            const size_t first = size_t(std::min_element(cycle.begin(), cycle.end()) - cycle.begin());
            QStringList chain;
            for (size_t k = 0; k <= cycle.size(); ++k)
                chain << keys[cycle[(first + k) % cycle.size()]];
            rows.problem(fileRow[cycle[first]], column,
                         QStringLiteral("rantai atasan berputar: %1").arg(chain.join(QStringLiteral(" -> "))));
        }
        for (size_t w : walk)
            state[w] = 2;
    }
}

QString digestOf(const QList<Change>& changes)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const Change& c : changes) {
        if (c.action == QLatin1String("tetap"))
            continue;
        for (const QString* part : {&c.table, &c.key, &c.action, &c.detail}) {
            h.addData(part->toUtf8());
            h.addData(QByteArrayView("\x1f", 1));
        }
        h.addData(QByteArrayView("\x1e", 1));
    }
    return QString::fromLatin1(h.result().toHex());
}

} // namespace

QString classify(const QString& jenis, const QString& eselon, const QString& jenjang)
{
    if (jenis == QLatin1String("struktural")) {
        if (eselon.startsWith(QLatin1String("II.")))
            return QStringLiteral("1");
        if (eselon.startsWith(QLatin1String("III.")))
            return QStringLiteral("2");
        if (eselon.startsWith(QLatin1String("IV.")))
            return QStringLiteral("3");
        // Heads of schools and health centres and the Korwil posts hold no
        // echelon.
        return eselon.isEmpty() ? QStringLiteral("6") : QString();
    }
    if (jenis == QLatin1String("fungsional")) {
        if (jenjang == QLatin1String("K3") || jenjang == QLatin1String("K4"))
            return QStringLiteral("4");
        if (jenjang == QLatin1String("K1") || jenjang == QLatin1String("K2"))
            return QStringLiteral("5");
        if (jenjang.startsWith(QLatin1Char('T')))
            return QStringLiteral("7");
        return {};
    }
    if (jenis == QLatin1String("pelaksana"))
        return QStringLiteral("8");
    return {};
}

int Plan::writes() const
{
    int n = 0;
    for (const Change& c : changes)
        if (c.action != QLatin1String("tetap"))
            ++n;
    return n;
}

QHash<QString, int> Plan::counts(const QString& table) const
{
    QHash<QString, int> out;
    for (const Change& c : changes)
        if (c.table == table)
            ++out[c.action];
    return out;
}

// --- Reading and checking ------------------------------------------------------

bool Importer::read(const QString& dir)
{
    problems_.clear();
    units_.clear();
    kinerja_.clear();
    jabatan_.clear();
    pns_.clear();
    tasks_.clear();

    // The schema's fixed codes.
    QSet<QString> golongan, jenis, jenjang;
    {
        db::Query q(conn_);
        for (const auto& [sql, set] : {std::pair{"SELECT id FROM golongan", &golongan},
                                       std::pair{"SELECT id FROM jenis_jabatan", &jenis},
                                       std::pair{"SELECT id FROM jenjang_jabatan", &jenjang}}) {
            const db::ResultSet rs = q.open(QString::fromLatin1(sql));
            for (int r = 0; r < rs.recordCount(); ++r)
                set->insert(rs.text(r, 0));
        }
    }
    auto known = [](const QSet<QString>& set) {
        QStringList l(set.begin(), set.end());
        l.sort();
        return l.join(QStringLiteral(", "));
    };

    FileRows unitF(kUnitFile, &problems_), jabF(kJabatanFile, &problems_), kinF(kKinerjaFile, &problems_),
        pnsF(kPnsFile, &problems_), taskF(kTaskFile, &problems_);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    bool readable = true;
    for (FileRows* f : {&unitF, &jabF, &kinF, &pnsF, &taskF}) {
        readable = f->read(dir) && readable;
        QFile file(QDir(dir).filePath(f->file()));
        if (file.open(QIODevice::ReadOnly))
            digest.addData(&file);
    }
    filesDigest_ = digest.result().toHex();
    // A file that could not be read would make every reference to it look
    // wrong: its own problems are the ones to fix first.
    if (!readable)
        return false;

    auto code = [](FileRows& f, size_t r, int c, bool* ok) {
        const QString v = f.cell(r, c, ok);
        if (!v.isEmpty() && !kCode.match(v).hasMatch()) {
            f.problem(r, c, QStringLiteral("kode hanya boleh berisi huruf, angka, titik, garis bawah, garis miring "
                                           "dan tanda hubung (tertulis %1)").arg(quote(v)));
            *ok = false;
            return QString();
        }
        return v;
    };
    // Keys once each; a repeat names the line of the first.
    auto unique = [](FileRows& f, size_t r, int c, const QString& k, QHash<QString, qint64>* seen) {
        const auto it = seen->constFind(key(k));
        if (it != seen->constEnd()) {
            f.problem(r, c, QStringLiteral("kunci ganda: %1 sudah ada di baris %2").arg(quote(k)).arg(*it));
            return false;
        }
        seen->insert(key(k), f.line(r));
        return true;
    };

    // unit.csv
    QHash<QString, qint64> unitKeys;
    std::vector<size_t> unitLine;
    for (size_t r = 0; r < unitF.size(); ++r) {
        bool ok = true;
        UnitRow u{code(unitF, r, 0, &ok), unitF.cell(r, 1, &ok), code(unitF, r, 2, &ok), code(unitF, r, 3, &ok), {}};
        if (!u.id.isEmpty() && unique(unitF, r, 0, u.id, &unitKeys)) {
            units_.push_back(u);
            unitLine.push_back(r);
        }
    }
    // jabatan_kinerja.csv
    QHash<QString, qint64> kinKeys;
    for (const QString& b : kBuiltInKinerja)
        kinKeys.insert(key(b), 0);
    for (size_t r = 0; r < kinF.size(); ++r) {
        bool ok = true;
        KinerjaRow k{code(kinF, r, 0, &ok), kinF.cell(r, 1, &ok), kinF.cell(r, 2, &ok), kinF.cell(r, 3, &ok)};
        if (!k.jenis.isEmpty() && !jenis.contains(k.jenis))
            kinF.problem(r, 2, QStringLiteral("jenis jabatan %1 tidak dikenal (%2)").arg(quote(k.jenis), known(jenis)));
        if (!k.jenjang.isEmpty() && !jenjang.contains(k.jenjang))
            kinF.problem(r, 3, QStringLiteral("jenjang %1 tidak dikenal (%2)").arg(quote(k.jenjang), known(jenjang)));
        if (k.kode.isEmpty())
            continue;
        if (kinKeys.value(key(k.kode), -1) == 0) {
            // A built-in code may be listed, once.
            kinKeys.insert(key(k.kode), kinF.line(r));
            kinerja_.push_back(k);
        } else if (unique(kinF, r, 0, k.kode, &kinKeys)) {
            kinerja_.push_back(k);
        }
    }
    // jabatan.csv
    QHash<QString, qint64> jabKeys;
    std::vector<size_t> jabLine;
    for (size_t r = 0; r < jabF.size(); ++r) {
        bool ok = true;
        JabatanRow j;
        j.kode = code(jabF, r, 0, &ok);
        j.nama = jabF.cell(r, 1, &ok);
        j.jenis = jabF.cell(r, 2, &ok);
        const QString kelas = jabF.cell(r, 3, &ok);
        j.eselon = jabF.cell(r, 4, &ok);
        j.jenjang = jabF.cell(r, 5, &ok);
        j.unit = code(jabF, r, 6, &ok);
        j.atasan = code(jabF, r, 7, &ok);
        j.kinerja = code(jabF, r, 8, &ok);
        if (!j.jenis.isEmpty() && !jenis.contains(j.jenis))
            jabF.problem(r, 2, QStringLiteral("jenis jabatan %1 tidak dikenal (%2)").arg(quote(j.jenis), known(jenis)));
        if (!kelas.isEmpty() && !wholeNumber(kelas, 0, 17, &j.kelas))
            jabF.problem(r, 3, QStringLiteral("kelas jabatan harus bilangan bulat 0 sampai 17 (tertulis %1)").arg(quote(kelas)));
        if (!j.eselon.isEmpty() && !kEselon.contains(j.eselon))
            jabF.problem(r, 4, QStringLiteral("eselon %1 tidak dikenal (%2, atau kosong)")
                                   .arg(quote(j.eselon), kEselon.join(QStringLiteral(", "))));
        if (!j.jenjang.isEmpty() && !jenjang.contains(j.jenjang))
            jabF.problem(r, 5, QStringLiteral("jenjang %1 tidak dikenal (%2)").arg(quote(j.jenjang), known(jenjang)));
        if (!j.unit.isEmpty() && !unitKeys.contains(key(j.unit)))
            jabF.problem(r, 6, QStringLiteral("unit %1 tidak ada di unit.csv").arg(quote(j.unit)));
        if (!j.kinerja.isEmpty() && !kinKeys.contains(key(j.kinerja)))
            jabF.problem(r, 8, QStringLiteral("jabatan kinerja %1 tidak ada di jabatan_kinerja.csv").arg(quote(j.kinerja)));
        if (!j.kode.isEmpty() && unique(jabF, r, 0, j.kode, &jabKeys)) {
            jabatan_.push_back(j);
            jabLine.push_back(r);
        }
    }
    // References within jabatan.csv and from unit.csv, once every key is known.
    for (size_t i = 0; i < jabatan_.size(); ++i) {
        const JabatanRow& j = jabatan_[i];
        if (j.atasan.isEmpty())
            continue;
        if (key(j.atasan) == key(j.kode))
            jabF.problem(jabLine[i], 7, QStringLiteral("jabatan tidak boleh menjadi atasannya sendiri"));
        else if (!jabKeys.contains(key(j.atasan)))
            jabF.problem(jabLine[i], 7, QStringLiteral("jabatan atasan %1 tidak ada di jabatan.csv").arg(quote(j.atasan)));
    }
    for (size_t i = 0; i < units_.size(); ++i) {
        const UnitRow& u = units_[i];
        if (!u.parent.isEmpty() && key(u.parent) == key(u.id))
            unitF.problem(unitLine[i], 2, QStringLiteral("unit tidak boleh menjadi induknya sendiri"));
        else if (!u.parent.isEmpty() && !unitKeys.contains(key(u.parent)))
            unitF.problem(unitLine[i], 2, QStringLiteral("unit induk %1 tidak ada di unit.csv").arg(quote(u.parent)));
        if (!u.kepala.isEmpty() && !jabKeys.contains(key(u.kepala)))
            unitF.problem(unitLine[i], 3, QStringLiteral("jabatan kepala %1 tidak ada di jabatan.csv").arg(quote(u.kepala)));
    }
    {
        std::vector<QString> keys, up;
        for (const JabatanRow& j : jabatan_) {
            keys.push_back(j.kode);
            up.push_back(key(j.atasan) == key(j.kode) ? QString() : j.atasan);
        }
        findCycles(jabF, 7, keys, up, jabLine);
    }
    {
        std::vector<QString> keys, up;
        for (const UnitRow& u : units_) {
            keys.push_back(u.id);
            up.push_back(key(u.parent) == key(u.id) ? QString() : u.parent);
        }
        findCycles(unitF, 2, keys, up, unitLine);
    }

    // pns.csv
    QHash<QString, qint64> nipKeys;
    static const QRegularExpression nipForm(QStringLiteral("^[0-9]{18}$"));
    for (size_t r = 0; r < pnsF.size(); ++r) {
        bool ok = true;
        PnsRow p{pnsF.cell(r, 0, &ok), pnsF.cell(r, 1, &ok), pnsF.cell(r, 2, &ok), pnsF.cell(r, 3, &ok),
                 pnsF.cell(r, 4, &ok), code(pnsF, r, 5, &ok), pnsF.cell(r, 6, &ok)};
        bool nipOk = !p.nip.isEmpty();
        if (nipOk && !nipForm.match(p.nip).hasMatch()) {
            pnsF.problem(r, 0, QStringLiteral("NIP harus 18 angka (tertulis %1; simpan kolom NIP sebagai teks)").arg(quote(p.nip)));
            nipOk = false;
        }
        if (!p.jk.isEmpty() && p.jk != QLatin1String("L") && p.jk != QLatin1String("P"))
            pnsF.problem(r, 2, QStringLiteral("jenis kelamin harus L atau P (tertulis %1)").arg(quote(p.jk)));
        if (!p.lahir.isEmpty()) {
            const QDate d = parseDate(p.lahir);
            if (!d.isValid() || d.year() < 1900 || d > QDate::currentDate())
                pnsF.problem(r, 3, QStringLiteral("tanggal tidak terbaca (tertulis %1; tulis 1970-03-12 atau 12/03/1970)")
                                       .arg(quote(p.lahir)));
            else
                p.lahir = d.toString(QStringLiteral("yyyy-MM-dd"));
        }
        if (!p.golongan.isEmpty() && !golongan.contains(p.golongan))
            pnsF.problem(r, 4, QStringLiteral("golongan %1 tidak dikenal (%2)").arg(quote(p.golongan), known(golongan)));
        if (!p.jabatan.isEmpty() && !jabKeys.contains(key(p.jabatan)))
            pnsF.problem(r, 5, QStringLiteral("jabatan %1 tidak ada di jabatan.csv").arg(quote(p.jabatan)));
        if (!p.status.isEmpty() && !kStatus.contains(p.status))
            pnsF.problem(r, 6, QStringLiteral("status %1 tidak dikenal (%2)").arg(quote(p.status), kStatus.join(QStringLiteral(", "))));
        if (nipOk && unique(pnsF, r, 0, p.nip, &nipKeys))
            pns_.push_back(p);
    }

    // rincian_tugas.csv: no code of its own; an entry is its performance
    // position and its text.
    QHash<QString, qint64> taskKeys;
    for (size_t r = 0; r < taskF.size(); ++r) {
        bool ok = true;
        TaskRow t{code(taskF, r, 0, &ok), taskF.cell(r, 1, &ok), taskF.cell(r, 2, &ok), {}, {}};
        const QString bobot = taskF.cell(r, 3, &ok);
        const QString aktif = taskF.cell(r, 4, &ok);
        if (!t.jabatan.isEmpty() && !kinKeys.contains(key(t.jabatan)))
            taskF.problem(r, 0, QStringLiteral("jabatan kinerja %1 tidak ada di jabatan_kinerja.csv").arg(quote(t.jabatan)));
        // A day has 1,440 minutes; operational entries of a whole day and
        // more (travel) are recognised up to max_skr_operasional.
        if (!bobot.isEmpty() && !wholeNumber(bobot, 1, 1440, &t.bobot))
            taskF.problem(r, 3, QStringLiteral("menit standar harus bilangan bulat 1 sampai 1440 (tertulis %1)").arg(quote(bobot)));
        if (aktif == QLatin1String("1") || aktif == QLatin1String("0"))
            t.aktif = aktif;
        else if (!aktif.isEmpty())
            taskF.problem(r, 4, QStringLiteral("aktif harus 1 atau 0 (tertulis %1)").arg(quote(aktif)));
        if (!t.jabatan.isEmpty() && !t.teks.isEmpty()
            && unique(taskF, r, 1, t.jabatan + QStringLiteral(" / ") + t.teks, &taskKeys))
            tasks_.push_back(t);
    }

    if (!problems_.isEmpty())
        return false;

    // Derived columns: the top unit of every unit and position.
    QHash<QString, const UnitRow*> unitAt;
    for (const UnitRow& u : units_)
        unitAt.insert(key(u.id), &u);
    for (UnitRow& u : units_) {
        const UnitRow* top = &u;
        while (!top->parent.isEmpty())
            top = unitAt.value(key(top->parent));
        u.induk = top == &u ? QString() : top->id;
    }
    for (JabatanRow& j : jabatan_) {
        const UnitRow* u = unitAt.value(key(j.unit));
        j.induk = u->induk.isEmpty() ? u->id : u->induk;
    }
    return true;
}

// --- The schema now --------------------------------------------------------------

struct Importer::Current {
    // key -> row, in the columns of Rows
    std::map<QString, QStringList> unit, kinerja, jabatan, pns;
    // task entries by code, in order of code
    std::vector<QStringList> tasks;
    // codes that rows the import does not write refer to
    QSet<QString> unitRefs, jabatanRefs, kinerjaRefs;
};

namespace {

const QStringList kUnitColumns{"id", "nama_unit", "induk_id", "parent_id", "kode_jabatan_kepala"};
const QStringList kKinerjaColumns{"kode", "nama_jabatan", "jenis_jabatan_id", "jenjang_id"};
const QStringList kJabatanColumns{"kode_jabatan", "nama_jabatan", "jenis_jabatan_id", "kelas_jabatan", "eselon",
                                  "jenjang_id", "unit_id", "induk_id", "atasan_kode_jabatan",
                                  "kode_jabatan_kinerja", "kode_klasifikasi"};
const QStringList kPnsColumns{"nip", "nama_lengkap", "jenis_kelamin", "tanggal_lahir", "golongan_id",
                              "kode_jabatan", "jenis_jabatan_id", "nama_jabatan", "kelas_jabatan", "unit_id",
                              "nama_unit", "induk_id", "nama_induk", "status_pns"};
const QStringList kTaskColumns{"kode", "kode_jabatan", "rincian_tugas", "satuan", "bobot_skr", "aktif"};

QStringList rowOf(const db::ResultSet& rs, int r)
{
    QStringList row;
    for (int c = 0; c < rs.columnCount(); ++c)
        row << rs.text(r, c);
    return row;
}

std::map<QString, QStringList> keyed(const db::ResultSet& rs)
{
    std::map<QString, QStringList> out;
    for (int r = 0; r < rs.recordCount(); ++r)
        out.emplace(key(rs.text(r, 0)), rowOf(rs, r));
    return out;
}

QString describe(const QStringList& columns, const QStringList& row, int from)
{
    QStringList parts;
    for (int c = from; c < columns.size(); ++c)
        if (!row[c].isEmpty())
            parts << columns[c] + QStringLiteral("=") + row[c];
    return parts.join(QStringLiteral("; "));
}

QString differences(const QStringList& columns, const QStringList& before, const QStringList& after, int from)
{
    QStringList parts;
    for (int c = from; c < columns.size(); ++c)
        if (before[c] != after[c])
            parts << QStringLiteral("%1: %2 -> %3").arg(columns[c], quote(before[c]), quote(after[c]));
    return parts.join(QStringLiteral("; "));
}

} // namespace

Importer::Current Importer::load(bool locking)
{
    Current now;
    db::Query q(conn_);
    const QString lock = locking ? QStringLiteral(" FOR UPDATE") : QString();
    const QString share = locking ? QStringLiteral(" LOCK IN SHARE MODE") : QString();
    auto select = [&](const QStringList& columns, const QString& table, const QString& tail) {
        return q.open(QStringLiteral("SELECT %1 FROM %2%3").arg(columns.join(QStringLiteral(", ")), table, tail));
    };
    now.unit = keyed(select(kUnitColumns, QStringLiteral("unit"), lock));
    now.kinerja = keyed(select(kKinerjaColumns, QStringLiteral("jabatan_kinerja"), lock));
    now.jabatan = keyed(select(kJabatanColumns, QStringLiteral("jabatan"), lock));
    QStringList pnsColumns = kPnsColumns;
    pnsColumns[3] = QStringLiteral("DATE_FORMAT(tanggal_lahir, '%Y-%m-%d')");
    now.pns = keyed(select(pnsColumns, QStringLiteral("cache_pns"), lock));
    {
        const db::ResultSet rs = select(kTaskColumns, QStringLiteral("rincian_tugas"), QStringLiteral(" ORDER BY kode") + lock);
        for (int r = 0; r < rs.recordCount(); ++r)
            now.tasks.push_back(rowOf(rs, r));
    }
    // What refers to units, positions and performance positions beyond the
    // tables the import writes: assignments, delegations, additional tasks,
    // ladders and dictionary verifiers.
    for (const auto& [sql, set] :
         {std::pair{"SELECT unit_id FROM delegasi", &now.unitRefs}, std::pair{"SELECT induk_id FROM delegasi", &now.unitRefs},
          std::pair{"SELECT kode_skpd FROM tugas_tambahan", &now.unitRefs},
          std::pair{"SELECT kode_jabatan_plt FROM plt", &now.jabatanRefs},
          std::pair{"SELECT kode_jabatan FROM tugas_tambahan", &now.kinerjaRefs},
          std::pair{"SELECT kode_jabatan FROM jf_pendamping", &now.kinerjaRefs},
          std::pair{"SELECT kode_pendamping FROM jf_pendamping", &now.kinerjaRefs},
          std::pair{"SELECT kode_jabatan FROM verifikator_kamus", &now.kinerjaRefs}}) {
        const db::ResultSet rs = q.open(QString::fromLatin1(sql) + share);
        for (int r = 0; r < rs.recordCount(); ++r)
            set->insert(key(rs.text(r, 0)));
    }
    return now;
}

Plan Importer::plan()
{
    return makePlan(load(false));
}

Plan Importer::makePlan(const Current& now) const
{
    Plan plan;
    auto rowsOf = [](const QString& table, const QStringList& columns, const QStringList& nullable) {
        Rows r;
        r.table = table;
        r.columns = columns;
        r.nullable = QSet<QString>(nullable.begin(), nullable.end());
        return r;
    };
    // New and changed rows of a keyed table; the keys the files no longer
    // list come back in *gone.
    auto compare = [&plan](Rows* out, const std::vector<QStringList>& wanted, const std::map<QString, QStringList>& have,
                           QStringList* gone) {
        QSet<QString> listed;
        for (const QStringList& row : wanted) {
            const QString k = key(row[0]);
            listed.insert(k);
            const auto it = have.find(k);
            if (it == have.end()) {
                plan.changes.append({out->table, row[0], QStringLiteral("baru"), describe(out->columns, row, 1)});
                out->rows.push_back(row);
                continue;
            }
            QStringList written = row;
            written[0] = it->second[0]; // the key as the schema spells it
            if (written != it->second) {
                plan.changes.append({out->table, written[0], QStringLiteral("ubah"),
                                     differences(out->columns, it->second, written, 1)});
                out->rows.push_back(written);
            }
        }
        for (const auto& [k, row] : have)
            if (!listed.contains(k))
                gone->append(k);
    };

    // What the files say, with the derived columns; a value the files cannot
    // give (a classification its kind, echelon and level leave open) is kept.
    QHash<QString, const UnitRow*> unitAt;
    for (const UnitRow& u : units_)
        unitAt.insert(key(u.id), &u);
    QHash<QString, const JabatanRow*> jabAt;
    for (const JabatanRow& j : jabatan_)
        jabAt.insert(key(j.kode), &j);

    std::vector<QStringList> unitWanted, kinerjaWanted, jabatanWanted, pnsWanted;
    for (const UnitRow& u : units_)
        unitWanted.push_back({u.id, u.nama, u.induk, u.parent, u.kepala});
    for (const KinerjaRow& k : kinerja_)
        kinerjaWanted.push_back({k.kode, k.nama, k.jenis, k.jenjang});
    for (const JabatanRow& j : jabatan_) {
        QString kelas = classify(j.jenis, j.eselon, j.jenjang);
        if (kelas.isEmpty()) {
            const auto it = now.jabatan.find(key(j.kode));
            if (it != now.jabatan.end())
                kelas = it->second[10];
        }
        jabatanWanted.push_back({j.kode, j.nama, j.jenis, j.kelas, j.eselon, j.jenjang, j.unit, j.induk, j.atasan,
                                 j.kinerja, kelas});
    }
    for (const PnsRow& p : pns_) {
        const JabatanRow* j = jabAt.value(key(p.jabatan));
        const UnitRow* u = unitAt.value(key(j->unit));
        const UnitRow* top = unitAt.value(key(j->induk));
        pnsWanted.push_back({p.nip, p.nama, p.jk, p.lahir, p.golongan, j->kode, j->jenis, j->nama, j->kelas, u->id,
                             u->nama, top->id, top->nama, p.status});
    }

    Rows units = rowsOf(QStringLiteral("unit"), kUnitColumns, {"induk_id", "parent_id", "kode_jabatan_kepala"});
    Rows kinerja = rowsOf(QStringLiteral("jabatan_kinerja"), kKinerjaColumns, {"jenis_jabatan_id", "jenjang_id"});
    Rows jabatan = rowsOf(QStringLiteral("jabatan"), kJabatanColumns,
                          {"eselon", "jenjang_id", "atasan_kode_jabatan", "kode_jabatan_kinerja", "kode_klasifikasi"});
    Rows pns = rowsOf(QStringLiteral("cache_pns"), kPnsColumns, {"tanggal_lahir"});
    QStringList unitGone, kinerjaGone, jabatanGone, pnsGone;
    compare(&units, unitWanted, now.unit, &unitGone);
    compare(&kinerja, kinerjaWanted, now.kinerja, &kinerjaGone);
    compare(&jabatan, jabatanWanted, now.jabatan, &jabatanGone);
    compare(&pns, pnsWanted, now.pns, &pnsGone);

    // Servants missing from pns.csv keep their rows and history, out of
    // service.
    const int status = int(kPnsColumns.indexOf(QStringLiteral("status_pns")));
    for (const QString& k : pnsGone) {
        const QStringList& row = now.pns.at(k);
        if (row[status] != QLatin1String("aktif"))
            continue;
        QStringList written = row;
        written[status] = kGoneStatus;
        plan.changes.append({pns.table, row[0], QStringLiteral("nonaktif"), differences(kPnsColumns, row, written, 1)});
        pns.rows.push_back(written);
    }

    // Task entries: matched on (performance position, text); new ones get a
    // code from the schema, missing ones are deactivated, none is deleted.
    Rows tasks = rowsOf(QStringLiteral("rincian_tugas"), kTaskColumns, {});
    plan.newTasks = rowsOf(QStringLiteral("rincian_tugas"), kTaskColumns.mid(1), {});
    QHash<QString, QList<const QStringList*>> taskAt;
    for (const QStringList& t : now.tasks)
        taskAt[key(t[1]) + QChar(0x1f) + key(t[2])].append(&t);
    QSet<QString> matched;
    for (const TaskRow& t : tasks_) {
        const QList<const QStringList*> found = taskAt.value(key(t.jabatan) + QChar(0x1f) + key(t.teks));
        // Of entries that read alike, the active one with the lowest code.
        const QStringList* best = nullptr;
        for (const QStringList* f : found)
            if (!best || (f->at(5) == QLatin1String("1") && best->at(5) != QLatin1String("1")))
                best = f;
        const QStringList wanted{best ? best->at(0) : QString(), t.jabatan, t.teks, t.satuan, t.bobot, t.aktif};
        if (!best) {
            plan.changes.append({tasks.table, t.jabatan + QStringLiteral(" / ") + t.teks, QStringLiteral("baru"),
                                 describe(kTaskColumns, wanted, 3)});
            plan.newTasks.rows.push_back(wanted.mid(1));
            continue;
        }
        matched.insert(best->at(0));
        if (*best != wanted) {
            plan.changes.append({tasks.table, best->at(0) + QStringLiteral(" ") + best->at(1) + QStringLiteral(" / ") + best->at(2),
                                 QStringLiteral("ubah"), differences(kTaskColumns, *best, wanted, 1)});
            tasks.rows.push_back(wanted);
        }
    }
    for (const QStringList& t : now.tasks) {
        if (matched.contains(t[0]) || t[5] != QLatin1String("1"))
            continue;
        plan.changes.append({tasks.table, t[0] + QStringLiteral(" ") + t[1] + QStringLiteral(" / ") + t[2],
                             QStringLiteral("nonaktif"), QStringLiteral("aktif: \"1\" -> \"0\"")});
        plan.tasksOff << t[0];
    }

    // Units, positions and performance positions gone from the files are
    // removed, unless anything kept still refers to them: a servant's row
    // (also one out of service), an assignment, a delegation, an additional
    // task, a ladder, a dictionary verifier, a task entry, or a unit or
    // position kept for that reason.
    QSet<QString> keepUnit, keepJabatan, keepKinerja;
    auto gone = [](const QStringList& keys) { return QSet<QString>(keys.begin(), keys.end()); };
    const QSet<QString> unitG = gone(unitGone), jabatanG = gone(jabatanGone);
    QSet<QString> kinerjaG = gone(kinerjaGone);
    for (const QString& b : kBuiltInKinerja)
        kinerjaG.remove(key(b));
    auto refer = [](const QSet<QString>& goneSet, const QString& code, QSet<QString>* keep) {
        const QString k = key(code);
        if (!code.isEmpty() && goneSet.contains(k) && !keep->contains(k)) {
            keep->insert(k);
            return true;
        }
        return false;
    };
    for (const QString& k : now.unitRefs)
        refer(unitG, k, &keepUnit);
    for (const QString& k : now.jabatanRefs)
        refer(jabatanG, k, &keepJabatan);
    for (const QString& k : now.kinerjaRefs)
        refer(kinerjaG, k, &keepKinerja);
    for (const QStringList& t : now.tasks)
        refer(kinerjaG, t[1], &keepKinerja);
    // Every servant's row as it will be: written rows, and the others as
    // they are.
    QSet<QString> writtenPns;
    for (const QStringList& row : pns.rows) {
        writtenPns.insert(key(row[0]));
        refer(jabatanG, row[5], &keepJabatan);
        refer(unitG, row[9], &keepUnit);
        refer(unitG, row[11], &keepUnit);
    }
    for (const auto& [k, row] : now.pns) {
        if (writtenPns.contains(k))
            continue;
        refer(jabatanG, row[5], &keepJabatan);
        refer(unitG, row[9], &keepUnit);
        refer(unitG, row[11], &keepUnit);
    }
    for (bool more = true; more;) {
        more = false;
        for (const QString& k : QSet<QString>(keepJabatan)) {
            const QStringList& j = now.jabatan.at(k);
            more |= refer(unitG, j[6], &keepUnit) | refer(unitG, j[7], &keepUnit)
                    | refer(jabatanG, j[8], &keepJabatan) | refer(kinerjaG, j[9], &keepKinerja);
        }
        for (const QString& k : QSet<QString>(keepUnit)) {
            const QStringList& u = now.unit.at(k);
            more |= refer(unitG, u[2], &keepUnit) | refer(unitG, u[3], &keepUnit) | refer(jabatanG, u[4], &keepJabatan);
        }
    }
    auto removeOrKeep = [&plan](const QString& table, const QStringList& goneKeys, const QSet<QString>& keep,
                                const std::map<QString, QStringList>& have, const QSet<QString>& builtIn) {
        QStringList remove;
        QStringList sorted = goneKeys;
        sorted.sort();
        for (const QString& k : sorted) {
            if (builtIn.contains(k))
                continue;
            const QString shown = have.at(k)[0];
            if (keep.contains(k)) {
                plan.changes.append({table, shown, QStringLiteral("tetap"),
                                     QStringLiteral("tidak ada di berkas, tetapi masih dirujuk")});
            } else {
                plan.changes.append({table, shown, QStringLiteral("hapus"), {}});
                remove << shown;
            }
        }
        if (!remove.isEmpty())
            plan.deletes.emplace_back(table, remove);
    };
    QSet<QString> builtIn;
    for (const QString& b : kBuiltInKinerja)
        builtIn.insert(key(b));
    removeOrKeep(QStringLiteral("jabatan"), jabatanGone, keepJabatan, now.jabatan, {});
    removeOrKeep(QStringLiteral("unit"), unitGone, keepUnit, now.unit, {});
    removeOrKeep(QStringLiteral("jabatan_kinerja"), kinerjaGone, keepKinerja, now.kinerja, builtIn);

    for (Rows* r : {&units, &kinerja, &jabatan, &pns, &tasks})
        if (!r->rows.empty())
            plan.upserts.push_back(std::move(*r));
    plan.digest = digestOf(plan.changes).toLatin1();
    return plan;
}

// --- Applying ----------------------------------------------------------------------

namespace {

// Statements of many rows, each value quoted with the connection's escaping.
class Batch {
public:
    explicit Batch(db::Connection& conn) : conn_(conn) {}

    std::string literal(const QString& v, bool null)
    {
        if (null && v.isEmpty())
            return "NULL";
        const QByteArray u = v.toUtf8();
        std::string q(size_t(u.size()) * 2 + 3, '\0');
        q[0] = '\'';
        const unsigned long len = mysql_real_escape_string(conn_.handle(), q.data() + 1, u.constData(), u.size());
        q[len + 1] = '\'';
        q.resize(len + 2);
        return q;
    }

    // INSERT ... VALUES (...), ... [tail], about 1 MB a statement.
    void insert(const Rows& rows, const std::string& extraColumn, const std::string& extraValue, bool update)
    {
        std::string head = "INSERT INTO " + rows.table.toStdString() + " (";
        std::string tail;
        for (int c = 0; c < rows.columns.size(); ++c) {
            const std::string name = rows.columns[c].toStdString();
            head += (c ? ", " : "") + name;
            if (c > 0 || !update)
                tail += (tail.empty() ? "" : ", ") + name + " = VALUES(" + name + ")";
        }
        if (!extraColumn.empty()) {
            head += ", " + extraColumn;
            tail += ", " + extraColumn + " = VALUES(" + extraColumn + ")";
        }
        head += ") VALUES ";
        if (update)
            tail = " ON DUPLICATE KEY UPDATE " + tail;
        else
            tail.clear();
        std::string sql;
        for (const QStringList& row : rows.rows) {
            std::string values = "(";
            for (int c = 0; c < rows.columns.size(); ++c)
                values += (c ? ", " : "") + literal(row[c], rows.nullable.contains(rows.columns[c]));
            if (!extraValue.empty())
                values += ", " + extraValue;
            values += ")";
            if (!sql.empty() && sql.size() + values.size() > 1000000) {
                exec(sql + tail);
                sql.clear();
            }
            sql += (sql.empty() ? head : std::string(", ")) + values;
        }
        if (!sql.empty())
            exec(sql + tail);
    }

    // sqlHead + a quoted list of the keys, about 1 MB a statement.
    void inList(const std::string& sqlHead, const QStringList& keys, const std::string& sqlTail = ")")
    {
        std::string list;
        for (const QString& k : keys) {
            if (list.size() > 1000000) {
                exec(sqlHead + list + sqlTail);
                list.clear();
            }
            list += (list.empty() ? "" : ", ") + literal(k, false);
        }
        if (!list.empty())
            exec(sqlHead + list + sqlTail);
    }

    void exec(const std::string& sql)
    {
        db::Query(conn_).exec(QString::fromStdString(sql));
    }

private:
    db::Connection& conn_;
};

} // namespace

// The import changes the task dictionary and the ladder of functional
// positions: the process log gets a row per entry, under the kinds that the
// log page's "Kamus" and "JF Atas Bawah" boxes list, as the server's own
// rows (nobody bound wrote them).
static Rows processLog(const Plan& plan)
{
    QSet<QString> functional; // performance positions of the files that are functional
    for (const Rows& r : plan.upserts)
        if (r.table == QLatin1String("jabatan_kinerja")) {
            const qsizetype kind = r.columns.indexOf(QStringLiteral("jenis_jabatan_id"));
            for (const QStringList& row : r.rows)
                if (kind >= 0 && row.value(kind) == QLatin1String("fungsional"))
                    functional << row.value(0);
        }
    Rows out;
    out.table = QStringLiteral("kinerja_log_proses");
    out.columns = QStringList{"nip", "aksi", "keterangan", "sumber"};
    for (const Change& c : plan.changes) {
        QString aksi;
        if (c.table == QLatin1String("rincian_tugas"))
            aksi = c.action == QLatin1String("baru")   ? QStringLiteral("Kamus - Tambah")
                   : c.action == QLatin1String("ubah") ? QStringLiteral("Kamus - Ubah")
                   : c.action != QLatin1String("tetap") ? QStringLiteral("Kamus - Hapus")
                                                       : QString();
        else if (c.table == QLatin1String("jabatan_kinerja") && c.action != QLatin1String("tetap") &&
                 (functional.contains(c.key) || c.action == QLatin1String("hapus")))
            aksi = QStringLiteral("JF Atas Bawah - Ubah");
        if (!aksi.isEmpty())
            out.rows.push_back({QString(), aksi, (QStringLiteral("Impor: ") + c.key).left(200), QStringLiteral("server")});
    }
    return out;
}

qulonglong Importer::apply(const Plan& shown, const QString& folder)
{
    db::Query q(conn_);
    q.exec(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
    q.exec(QStringLiteral("START TRANSACTION"));
    try {
        // The rows read are locked until the commit: what the plan was made
        // from cannot change under it.
        const Plan plan = makePlan(load(true));
        if (plan.digest != shown.digest)
            throw Stale{};
        Batch b(conn_);
        for (const Rows& r : plan.upserts) {
            if (r.table == QLatin1String("cache_pns"))
                b.insert(r, "tanggal_sinkron", "NOW()", true);
            else
                b.insert(r, {}, {}, true);
        }
        b.insert(plan.newTasks, {}, {}, false);
        b.inList("UPDATE rincian_tugas SET aktif = 0 WHERE kode IN (", plan.tasksOff);
        for (const auto& [table, keys] : plan.deletes) {
            const std::string column = table == QLatin1String("unit") ? "id"
                                       : table == QLatin1String("jabatan") ? "kode_jabatan"
                                                                           : "kode";
            b.inList("DELETE FROM " + table.toStdString() + " WHERE " + column + " IN (", keys);
        }

        // The log: the import, and every row it wrote.
        QStringList summary;
        for (const QString& table : {QStringLiteral("unit"), QStringLiteral("jabatan"), QStringLiteral("jabatan_kinerja"),
                                     QStringLiteral("cache_pns"), QStringLiteral("rincian_tugas")}) {
            const QHash<QString, int> n = plan.counts(table);
            QStringList parts;
            for (const QString& a : {QStringLiteral("baru"), QStringLiteral("ubah"), QStringLiteral("nonaktif"),
                                     QStringLiteral("hapus")})
                if (n.value(a))
                    parts << QStringLiteral("%1 %2").arg(n.value(a)).arg(a);
            if (!parts.isEmpty())
                summary << table + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
        }
        q.exec(QStringLiteral("INSERT INTO kinerja_impor (tanggal, akun, folder, sidik, ringkasan) "
                              "VALUES (NOW(), CURRENT_USER(), :var_folder, :var_sidik, :var_ringkasan)"),
               {{QStringLiteral("var_folder"), folder.left(1000)},
                {QStringLiteral("var_sidik"), QString::fromLatin1(filesDigest_)},
                {QStringLiteral("var_ringkasan"), summary.join(QStringLiteral("; ")).left(2000)}});
        const qulonglong id = q.open(QStringLiteral("SELECT LAST_INSERT_ID()")).first(0).toULongLong();
        Rows log;
        log.table = QStringLiteral("kinerja_impor_rinci");
        log.columns = QStringList{"impor_id", "urutan", "tabel", "kunci", "aksi", "perubahan"};
        log.nullable = {QStringLiteral("perubahan")};
        int order = 0;
        for (const Change& c : plan.changes)
            if (c.action != QLatin1String("tetap"))
                log.rows.push_back({QString::number(id), QString::number(++order), c.table, c.key.left(600), c.action,
                                    c.detail});
        b.insert(log, {}, {}, false);
        b.insert(processLog(plan), "tanggal_aksi", "NOW()", false);
        q.exec(QStringLiteral("COMMIT"));
        return id;
    } catch (...) {
        try {
            q.exec(QStringLiteral("ROLLBACK"));
        } catch (const db::DbError&) {
            // the connection is gone, and the server rolled back with it
        }
        throw;
    }
}

void Importer::refresh()
{
    db::Query q(conn_);
    q.exec(QStringLiteral("CALL kinerja_atasan_peta_pastikan()"));
    // The figures of the months still shown, as the hourly recompute would
    // give them with the new positions and superiors.
    const db::ResultSet periods = q.open(QStringLiteral(
        "SELECT DATE_FORMAT(NOW() - INTERVAL 1 MONTH, '%Y%m'), DATE_FORMAT(NOW(), '%Y%m')"));
    for (int c = 0; c < 2; ++c)
        q.exec(QStringLiteral("CALL kinerja_progress_hitung(:var_periode)"),
               {{QStringLiteral("var_periode"), periods.text(0, c)}});
}

// --- The command ------------------------------------------------------------------------

namespace {

const char* const kTables[][2] = {{"unit", "unit.csv"},
                                  {"jabatan", "jabatan.csv"},
                                  {"jabatan_kinerja", "jabatan_kinerja.csv"},
                                  {"cache_pns", "pns.csv"},
                                  {"rincian_tugas", "rincian_tugas.csv"}};

QString actionText(const QString& action, const QString& table)
{
    if (action == QLatin1String("baru"))
        return QStringLiteral("baru");
    if (action == QLatin1String("ubah"))
        return QStringLiteral("berubah");
    if (action == QLatin1String("nonaktif"))
        return table == QLatin1String("cache_pns") ? QStringLiteral("keluar (status \"%1\")").arg(kGoneStatus)
                                                   : QStringLiteral("dinonaktifkan");
    if (action == QLatin1String("hapus"))
        return QStringLiteral("dihapus");
    return QStringLiteral("tidak ada di berkas tetapi masih dirujuk, tetap disimpan");
}

void report(const Plan& plan, bool all, QTextStream& out)
{
    const QStringList actions{"baru", "ubah", "nonaktif", "hapus", "tetap"};
    out << "Perbedaan berkas dengan basis data:\n";
    for (const auto& t : kTables) {
        const QString table = QString::fromLatin1(t[0]);
        const QHash<QString, int> n = plan.counts(table);
        QStringList parts;
        for (const QString& a : actions)
            if (n.value(a))
                parts << QStringLiteral("%1 %2").arg(n.value(a)).arg(actionText(a, table));
        out << "  " << QString::fromLatin1(t[1]).leftJustified(20) << ' '
            << (parts.isEmpty() ? QStringLiteral("tidak ada perubahan") : parts.join(QStringLiteral(", "))) << '\n';
    }
    const int limit = all ? INT_MAX : 10;
    for (const auto& t : kTables) {
        const QString table = QString::fromLatin1(t[0]);
        for (const QString& a : actions) {
            int shown = 0, total = 0;
            for (const Change& c : plan.changes) {
                if (c.table != table || c.action != a)
                    continue;
                if (++total > limit)
                    continue;
                if (shown++ == 0)
                    out << '\n' << t[1] << ", " << actionText(a, table) << ":\n";
                out << "  " << c.key << (c.detail.isEmpty() ? QString() : QStringLiteral("  ") + c.detail) << '\n';
            }
            if (total > shown)
                out << "  ... dan " << (total - shown) << " lagi (semuanya: --rinci)\n";
        }
    }
}

} // namespace

int run(const Options& options, QTextStream& out, const std::function<bool()>& confirm)
{
    QElapsedTimer clock;
    clock.start();
    db::Connection conn;
    try {
        conn.open(options.connection);
        Importer importer(conn);
        out << "Memeriksa berkas di " << QDir(options.dir).absolutePath() << Qt::endl;
        if (!importer.read(options.dir)) {
            const QList<Problem>& problems = importer.problems();
            out << "Ditemukan " << problems.size() << " kesalahan; tidak ada yang diubah.\n";
            const int shown = std::min<int>(int(problems.size()), 200);
            for (int i = 0; i < shown; ++i)
                out << "  " << problems[i].format() << '\n';
            if (problems.size() > shown)
                out << "  ... dan " << (problems.size() - shown) << " kesalahan lain\n";
            return 1;
        }
        out << "Semua baris lolos pemeriksaan." << Qt::endl;
        const Plan plan = importer.plan();
        report(plan, options.allDetails, out);
        if (plan.writes() == 0) {
            out << "\nTidak ada perubahan; basis data sudah sesuai dengan berkas." << Qt::endl;
            return 0;
        }
        if (options.checkOnly) {
            out << "\nHanya pemeriksaan: tidak ada yang diubah." << Qt::endl;
            return 0;
        }
        out << '\n' << plan.writes() << " baris akan diubah dalam satu transaksi." << Qt::endl;
        if (!options.yes && !confirm()) {
            out << "Dibatalkan: tidak ada yang diubah." << Qt::endl;
            return 4;
        }
        try {
            const qulonglong id = importer.apply(plan, QDir(options.dir).absolutePath());
            out << "Diterapkan (catatan impor nomor " << id << ")." << Qt::endl;
        } catch (const Importer::Stale&) {
            out << "Data di basis data berubah sejak diperiksa; tidak ada yang diubah. Jalankan impor sekali lagi."
                << Qt::endl;
            return 4;
        }
        out << "Memperbarui peta atasan dan angka progres..." << Qt::endl;
        try {
            importer.refresh();
        } catch (const db::DbError& e) {
            out << "Impor sudah diterapkan, tetapi peta atasan dan angka progres belum diperbarui: " << e.what()
                << "\nPekerjaan terjadwal tiap jam memperbaruinya." << Qt::endl;
            return 3;
        }
        out << "Selesai dalam " << QString::number(clock.elapsed() / 1000.0, 'f', 1) << " detik." << Qt::endl;
        return 0;
    } catch (const db::DbError& e) {
        out << "Gagal di basis data: " << e.what() << "\nTidak ada yang diubah oleh impor yang gagal." << Qt::endl;
        return 3;
    }
}

} // namespace impor
