#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class OperationHost;
class QPagedPaintDevice;

// The monthly activity report of one civil servant, as the regional offices
// file it: who and which month, the month's activities by day, the totals
// per type, the recognised minutes against the monthly target with the
// dashboard's percentages, and the signature block. Holds what the server
// answered; the client computes no figure of its own.
class LaporanBulanan {
public:
    // The room between a signer's position and name, for the signature.
    static constexpr double kSignatureRoomCm = 3.0;

    // Loads the report of a servant's month ("yyyymm") in one envelope:
    // kinerja_laporan_bulanan, then the dashboard's kinerja_progress_get.
    // False after the envelope's message; the report is then empty.
    bool load(OperationHost& host, const QString& nip, const QString& periode);

    // A header field by its column name (empty when unknown).
    QString field(const QString& name) const { return header_.value(name); }
    // Each activity: date, type, task, description, volume, unit, standard
    // minutes, status.
    const QVector<QStringList>& activities() const { return activities_; }
    // Whether the server has computed the month's progress figures yet.
    bool hasProgress() const { return !progress_.isEmpty(); }

    // The printable document as rich text (every server text escaped).
    QString html() const;
    // Lays the document out on the device's pages and paints them, each
    // numbered "Halaman n dari m"; false when the device would not paint.
    bool print(QPagedPaintDevice& device) const;
    // The report's page: A4 landscape, for the table's wide columns, with
    // 12 mm margins.
    static void preparePage(QPagedPaintDevice& device);

private:
    QHash<QString, QString> header_;
    QVector<QStringList> activities_;
    QHash<QString, QString> progress_;
};
