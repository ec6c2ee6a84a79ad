#pragma once

#include <QDialog>

class QButtonGroup;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class StringGrid;
class PageContext;
class WizardFrame;

// The entry wizard for a daily activity: kind, task detail from the
// dictionary, then description, date and volume.
class Tft_aktivitas : public QDialog {
    Q_OBJECT
public:
    explicit Tft_aktivitas(PageContext& ctx);

    enum Kind { Manajerial, FungsionalPelaksana, TugasTambahan, Lainnya };

    // The refusal for a kind the profile does not allow; empty when allowed.
    static QString eligibilityRefusal(int kind, const QString& jenisJabatan, const QString& jmlTugasTambahan,
                                      const QString& statusPlt, const QString& statusSampiran);

public slots:
    void rgJenisAktivitasClick();
    // Each answers whether the wizard moved on (or, for the last, saved).
    bool JvWizardInteriorPage1NextButtonClick();
    void btAktivitasTampilDataClick();
    bool JvWizardInteriorPage2NextButtonClick();
    bool JvWizardInteriorPage3FinishButtonClick();
    void backClick();

public:
    WizardFrame* JvWizard1;
    QGroupBox* rgJenisAktivitas;
    QButtonGroup* jenisGroup;
    QLabel* lbHintAktivitas;
    QLineEdit* edAktivitas;
    QPushButton* btAktivitasTampilData;
    QLabel* lbJumlahData;
    StringGrid* sg_rincian_cari;
    QLabel* edProsesNama;
    QPlainTextEdit* edProsesDeskripsi;
    QDateTimeEdit* edProsesTanggal;
    QLineEdit* edProsesVolume;
    QLabel* lbProsesSatuan;

    QString var_jenis_aktivitas;
    QString var_kode_jabatan;
    QString kode_aktivitas_terpilih;
    QString skr_aktivitas_terpilih;

    int selectedKind() const;
    void selectKind(int kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PageContext& ctx_;
};
