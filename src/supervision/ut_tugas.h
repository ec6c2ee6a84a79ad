#pragma once

#include <QDialog>

class PageHeader;
class QLabel;
class QLineEdit;
class QPushButton;
class StringGrid;
class PageContext;

// Picks an executor position to give a subordinate as an additional task.
class Tft_tugas : public QDialog {
    Q_OBJECT
public:
    // The subordinate who gets the task (NIP and name).
    Tft_tugas(PageContext& ctx, const QString& nip, const QString& nama);

public slots:
    void FormShow();
    void btCariClick();
    // True when the task was added (the picker then closes).
    bool btPilihClick();

signals:
    // A task was added; the subordinate's list is stale.
    void added();

public:
    PageHeader* ft_tugasJudul;
    QLineEdit* edCari;
    QPushButton* btCari;
    StringGrid* sg_jabatan;
    QLabel* lbJumlah;
    QPushButton* btPilih;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PageContext& ctx_;
    QString nip_;
    QString nama_;
    bool searched_ = false;
};
