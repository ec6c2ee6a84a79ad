#pragma once

#include <QDate>
#include <QDialog>

class LaporanBulanan;
class PageContext;
class PageHeader;
class QComboBox;
class QPushButton;
class QSpinBox;

// "Cetak Laporan Bulanan": the monthly activity report of one civil servant
// for a month picked here, shown as a print preview, printed, or saved as
// PDF. Each action fetches the report afresh, so it is as the server has
// it at that moment.
class Tf_laporanBulanan : public QDialog {
    Q_OBJECT
public:
    // The month preselected is that of `month`.
    Tf_laporanBulanan(PageContext& ctx, const QString& nip, const QString& nama, const QDate& month);

    // Opens the dialog through the dialog seam.
    static void open(PageContext& ctx, const QString& nip, const QString& nama, const QDate& month);

    // The picked month as "yyyymm".
    QString periode() const;

public slots:
    void btPratinjauClick();
    void btCetakClick();
    void btSimpanPdfClick();

public:
    PageHeader* f_laporanJudul;
    QComboBox* cbLaporanBulan;
    QSpinBox* seLaporanTahun;
    QPushButton* btPratinjau;
    QPushButton* btCetak;
    QPushButton* btSimpanPdf;
    QPushButton* btTutup;

private:
    // Checks the month, then loads the report; false after a message.
    bool load(LaporanBulanan& report);

    PageContext& ctx_;
    QString nip_;
};
