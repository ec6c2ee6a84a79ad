#pragma once

#include "shell/page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StringGrid;

// The accounts of the system with their access levels. "Tambah" gives a
// registered civil servant an administrator's or supervisor's level
// (dialog Tfe_user); "Hapus" takes the selected account back to "Basic
// User".
class AdmUserPage : public Page {
    Q_OBJECT
public:
    explicit AdmUserPage(PageContext& ctx);

    // "x", then ",Admin System", ... for the ticked level boxes.
    QString levelList() const;

public slots:
    void dxSettingItems1Click();
    void xAdmUserTampilDataClick();
    void SpeedButton40Click();
    void SpeedButton41Click();

public:
    QLineEdit* xAdmUserCariNama;
    QCheckBox* xAdmUserLv1;
    QCheckBox* xAdmUserLv2;
    QCheckBox* xAdmUserLv3;
    QCheckBox* xAdmUserLv4;
    QCheckBox* xAdmUserLv5;
    QPushButton* xAdmUserTampilData;
    QLabel* xAdmUserJumlah;
    StringGrid* sg_admUser;
    QPushButton* SpeedButton40;
    QPushButton* SpeedButton41;
};
