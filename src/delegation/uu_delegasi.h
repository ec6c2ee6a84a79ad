#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;
class PageContext;

// Sets the end date of an official's delegation in force. The server
// checks the date against the start and refuses an ended delegation.
class Tfu_delegasi : public QDialog {
    Q_OBJECT
public:
    // The delegated official (NIP and name); the picker starts on today.
    explicit Tfu_delegasi(PageContext& ctx, const QString& nip = {}, const QString& nama = {});

public slots:
    // True when the end date was stored; the dialog stays open either way.
    bool btSimpanClick();

public:
    QLineEdit* edNIP;
    QLineEdit* edNama;
    QDateEdit* edTanggal;
    QPushButton* btSimpan;

private:
    PageContext& ctx_;
};
