#pragma once

#include <QDialog>
#include <QString>

class PageHeader;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class PageContext;

// What the server knows of a dictionary verifier.
struct VerifikatorInfo {
    QString nip;
    QString nama;
    QString golongan;
    QString jabatan;
    QString unit;
    QString induk;
    QString level;
    QString jumlah;
    QString daftar; // the verified positions, one a line
};

// The details of one dictionary verifier, read only.
class Tfverifikator_info : public QDialog {
    Q_OBJECT
public:
    Tfverifikator_info(PageContext& ctx, const VerifikatorInfo& info);

    PageHeader* fverifikator_infoJudul;
    QLineEdit* edNip;
    QLineEdit* edNama;
    QLineEdit* edGolongan;
    QLineEdit* edJabatan;
    QLineEdit* edUnit;
    QLineEdit* edInduk;
    QLineEdit* edLevel;
    QLineEdit* edJumlah;
    QPlainTextEdit* mmJabatan;
    QPushButton* btTutup;
};
