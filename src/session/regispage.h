#pragma once

#include "shell/page.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// Self-registration: check the person against the personnel data, then take
// a password twice and create an account of the basic level.
class RegisPage : public Page {
    Q_OBJECT
public:
    explicit RegisPage(PageContext& ctx);

    // The code sent for the rank group at an index of cbrGolru ("" for none).
    static QString golruCode(int index);

signals:
    // An account was created for the NIP; the login page takes over.
    void registered(const QString& nip);

public slots:
    void dxAplikasiItems1Click();
    void btrCekDataClick();
    void btrRegisterClick();

public:
    QLineEdit* btrNIP;
    QComboBox* cbrGolru;
    QComboBox* cbrSKPD;
    QPushButton* btrCekData;
    QLineEdit* edrPass1;
    QLineEdit* edrPass2;
    QPushButton* btrRegister;

private:
    void setCheckPhase(bool check);
};
