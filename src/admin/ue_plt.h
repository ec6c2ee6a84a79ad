#pragma once

#include <QDialog>

class PageContext;
class PageHeader;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Records an acting or side assignment (Plt, Plh, head of a school or
// health centre, Korwil): NIP, position, kind, first and last day; or
// changes the last day of one, or ends it.
class Tfe_plt : public QDialog {
    Q_OBJECT
public:
    // The listed assignment a change starts from, as the list shows it.
    struct Row {
        QString id;
        QString nip;
        QString nama;
        QString jabatan;
        QString status;
        QString start; // yyyy-mm-dd
        QString end;   // yyyy-mm-dd, or "-" for an open end
    };

    explicit Tfe_plt(PageContext& ctx);

    // A new assignment, starting today by the local clock, without end.
    void tambah();
    // A change of the listed assignment.
    void ubah(const Row& row);
    bool isChange() const { return !id_.isEmpty(); }

    // The code of the checked kind ("plt", "plh", "tugas-sampiran",
    // "korwil"); empty when none.
    QString kind() const;
    void setKind(const QString& code);

public slots:
    void btCariJabatanClick();
    void cbTanpaAkhirClick();
    // True when the assignment was saved (the dialog then closes).
    bool btSimpanClick();

signals:
    void saved();

public:
    PageHeader* fe_pltJudul;
    QLineEdit* edNIP;
    QLabel* lbNama;
    QLineEdit* edCariJabatan;
    QPushButton* btCariJabatan;
    QComboBox* cbJabatan;
    QLabel* lbJabatan;
    QGroupBox* rgJenis;
    QDateEdit* dtMulai;
    QDateEdit* dtAkhir;
    QCheckBox* cbTanpaAkhir;
    QCheckBox* cbAkhiri;
    QPushButton* btSimpan;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The server's verdict on the save; true when it is "OK", otherwise its
    // message has been shown.
    bool serverAgrees(const QString& jabatan, const QString& start, const QString& end);
    QString endText() const;

    PageContext& ctx_;
    QButtonGroup* kinds_;
    QString id_;
    QString nama_;
    QString jabatanNama_;
    QString start_;
};
