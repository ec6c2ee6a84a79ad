#pragma once

#include <QDialog>

class PageHeader;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class PageContext;

// The details of one listed activity, exactly as the list shows them.
class Tfaktivitas_info : public QDialog {
    Q_OBJECT
public:
    explicit Tfaktivitas_info(PageContext& ctx);

    void fill(const QString& task, const QString& description, const QString& volume, const QString& unit,
              const QString& activityDate, const QString& inputDate, const QString& verificationDate,
              const QString& validationDate);
    // The superior's reason for the rejection the activity stands under; the
    // row shows only when there is one.
    void setRejectionReason(const QString& reason);

    PageHeader* fu_aktivitasJudul;
    QPlainTextEdit* fAktAktivitas;
    QPlainTextEdit* fAktDeskripsi;
    QLineEdit* fAktVolume;
    QLabel* fAktSatuan;
    QLineEdit* fAktTglAktivitas;
    QLineEdit* fAktTglinput;
    QLineEdit* fAktTglVerifikasi;
    QLineEdit* fAktTglValidasi;
    QPlainTextEdit* fAktAlasanTolak;
    QPushButton* btSimpan;

private:
    QFormLayout* form_;
};
