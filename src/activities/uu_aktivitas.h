#pragma once

#include <QDialog>

class PageHeader;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class PageContext;

// Changes the description and the volume of an unverified activity.
class Tfu_aktivitas : public QDialog {
    Q_OBJECT
public:
    explicit Tfu_aktivitas(PageContext& ctx);

    void setActivity(const QString& task, const QString& description, const QString& volume, const QString& unit,
                     const QString& standardMinutes);

public slots:
    // True when the change was saved (the dialog then closes).
    bool btSimpanClick();

public:
    PageHeader* fu_aktivitasJudul;
    QPlainTextEdit* fuAktivitasAktivitas;
    QPlainTextEdit* fuAktivitasDeskripsi;
    QLineEdit* fuAktivitasVolume;
    QLabel* fuAktivitasSatuan;
    QPushButton* btSimpan;
    QString kode_aktivitas;

protected:
    void showEvent(QShowEvent* event) override;

private:
    PageContext& ctx_;
    QString skr_;
};
