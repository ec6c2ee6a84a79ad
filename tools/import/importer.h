#pragma once

#include "csvreader.h"

#include "db/connsettings.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace db {
class Connection;
}

// The import of a regency's organisation, people and task dictionary from
// five CSV files (README, "Importing a regency's data"): every row is
// checked first, then the difference from the schema is shown and applied
// in one logged transaction.
namespace impor {

// One row written, taken out of service, removed or kept, for the report
// and the log.
struct Change {
    QString table;
    QString key;
    QString action; // baru, ubah, nonaktif, hapus; tetap: gone from the files but still referred to, kept
    QString detail; // baru: the values; ubah: "column: old -> new; ..."
};

// A table's rows as the import writes them: the columns in order, each row
// a list of texts (an empty text is NULL where the column allows it).
struct Rows {
    QString table;
    QStringList columns;
    QSet<QString> nullable;
    std::vector<QStringList> rows;
};

// The difference between the files and the schema, and the statements'
// rows that apply it.
struct Plan {
    QList<Change> changes;
    QByteArray digest; // of the changes that write: a plan made again must match it
    std::vector<Rows> upserts; // written whole, by primary key
    Rows newTasks; // task entries without a code yet
    QStringList tasksOff; // codes of task entries to deactivate
    // table -> keys to delete
    std::vector<std::pair<QString, QStringList>> deletes;

    int writes() const;
    // Counts of one table's changes by action.
    QHash<QString, int> counts(const QString& table) const;
};

class Importer {
public:
    explicit Importer(db::Connection& conn) : conn_(conn) {}

    // Reads the five files of dir and checks every row, against each other and
    // the schema's fixed codes (ranks, kinds and levels of positions). False
    // when anything is wrong; problems() names each with its place.
    bool read(const QString& dir);
    const QList<Problem>& problems() const { return problems_; }
    // SHA-256 of the five files, in a fixed order.
    const QByteArray& filesDigest() const { return filesDigest_; }

    // The difference between the files read and the schema now.
    Plan plan();

    // Applies the plan in one transaction, logged in kinerja_impor and
    // kinerja_impor_rinci, provided the schema still gives the same plan
    // (rows it reads are locked until the commit); throws Stale otherwise, and
    // db::DbError on a database failure. Nothing is kept of a failed apply.
    struct Stale {};
    qulonglong apply(const Plan& plan, const QString& folder);

    // Brings the superior map and the progress figures of this and last month
    // up to date after an apply.
    void refresh();

private:
    struct Current;
    Plan makePlan(const Current& now) const;
    Current load(bool locking);

    db::Connection& conn_;
    QList<Problem> problems_;
    QByteArray filesDigest_;

    // The files' rows, checked, in file order, with derived columns filled.
    struct UnitRow {
        QString id, nama, parent, kepala, induk;
    };
    struct KinerjaRow {
        QString kode, nama, jenis, jenjang;
    };
    struct JabatanRow {
        QString kode, nama, jenis, kelas, eselon, jenjang, unit, atasan, kinerja, induk;
    };
    struct PnsRow {
        QString nip, nama, jk, lahir, golongan, jabatan, status;
    };
    struct TaskRow {
        QString jabatan, teks, satuan, bobot, aktif;
    };
    std::vector<UnitRow> units_;
    std::vector<KinerjaRow> kinerja_;
    std::vector<JabatanRow> jabatan_;
    std::vector<PnsRow> pns_;
    std::vector<TaskRow> tasks_;
};

// The classification of a position (klasifikasi_jabatan) by its kind,
// echelon and level; empty when these do not decide it.
QString classify(const QString& jenis, const QString& eselon, const QString& jenjang);

struct Options {
    QString dir;
    db::ConnSettings connection;
    bool checkOnly = false; // check and show the difference, change nothing
    bool yes = false; // apply without asking
    bool allDetails = false; // list every changed row, not the first of each kind
};

// The command: read and check, show the problems or the difference, ask (or
// not), apply, refresh. Returns the exit code: 0 applied or nothing to do,
// 1 problems in the files, 3 database failure, 4 not applied (declined, or
// the schema changed meanwhile).
int run(const Options& options, QTextStream& out, const std::function<bool()>& confirm);

} // namespace impor
