#pragma once

#include <QDialog>

class PageContext;
class PageHeader;
class QLabel;
class QLineEdit;
class QPushButton;

// A new dictionary verifier, by NIP: "Lanjut" asks the server for the
// active civil servant of that NIP and, when there is one, closes with the
// NIP and the name for the position picker that gives the first position.
// Nothing is stored here: a verifier exists through their positions.
class Tfe_verifikator : public QDialog {
    Q_OBJECT
public:
    explicit Tfe_verifikator(PageContext& ctx);

    QString nip() const { return nip_; }
    QString nama() const { return nama_; }

public slots:
    bool btLanjutClick();

public:
    PageHeader* fe_verifikatorJudul;
    QLineEdit* edNIP;
    QPushButton* btLanjut;
    QPushButton* btBatal;

private:
    PageContext& ctx_;
    QString nip_;
    QString nama_;
};
