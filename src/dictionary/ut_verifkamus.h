#pragma once

#include <QDialog>

class PageHeader;
class QLabel;
class QLineEdit;
class QPushButton;
class StringGrid;
class PageContext;

// Picks a functional position for a dictionary verifier to verify: the
// positions the verifier does not verify yet, searched by name.
class Tft_verifkamus : public QDialog {
    Q_OBJECT
public:
    // The verifier (NIP and name).
    Tft_verifkamus(PageContext& ctx, const QString& nip, const QString& nama);

public slots:
    void btCariClick();
    // True when the position was assigned (the picker then closes).
    bool btPilihClick();

public:
    PageHeader* ft_verifkamusJudul;
    QLineEdit* edCari;
    QPushButton* btCari;
    StringGrid* sg_jabatan;
    QLabel* lbJumlah;
    QPushButton* btPilih;

protected:
    void showEvent(QShowEvent* event) override;

private:
    PageContext& ctx_;
    QString nip_;
    QString nama_;
    bool searched_ = false;
};
