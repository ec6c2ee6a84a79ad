#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QButtonGroup;
class QDateTimeEdit;
class QGroupBox;
class QKeyEvent;
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

    // The question before a typed description is thrown away.
    static QString discardQuestion();

public slots:
    void rgJenisAktivitasClick();
    // Each answers whether the wizard moved on (or, for the last, saved).
    bool JvWizardInteriorPage1NextButtonClick();
    void btAktivitasTampilDataClick();
    bool JvWizardInteriorPage2NextButtonClick();
    bool JvWizardInteriorPage3FinishButtonClick();
    void backClick();
    // Esc, the close button and "Batal": asks first when a description has
    // been typed; answered No, the wizard stays as it is.
    void reject() override;

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
    // The minutes already recorded for the chosen day, against 480.
    QLabel* lbMenitTercatat;

    QString var_jenis_aktivitas;
    QString var_kode_jabatan;
    QString kode_aktivitas_terpilih;
    QString skr_aktivitas_terpilih;

    int selectedKind() const;
    void selectKind(int kind);
    // The task row the user picked on page 2; -1 while none is picked.
    int pickedRow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Closes without saving and without asking: the user has been told why.
    void closeUnsaved();
    void enterPressed();
    void focusPage(int page);
    void preparePickerRange();
    void refreshDayMinutes();

    PageContext& ctx_;
    // The kind that page 1 let through, remembered with its task on saving.
    int kind_ = -1;
    // Days back the server lets an activity be entered; -1 until known.
    int inputWindowDays_ = -1;
    // The day whose minutes lbMenitTercatat shows.
    QDate minutesDay_;
    // The text whose results the task list shows.
    QString searchedText_;
};
