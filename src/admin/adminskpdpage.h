#pragma once

#include "shell/page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StringGrid;

// The civil servants of the administrator's top-level unit with whether
// each has an account; an account can be reset (deleted, so that the
// person registers again), and every reset is logged.
class AdminSKPDPage : public Page {
    Q_OBJECT
public:
    explicit AdminSKPDPage(PageContext& ctx);

    // "x", then ",struktural", ",fungsional", ",pelaksana" for the ticked boxes.
    QString positionKindList() const;

public slots:
    void dxAdminItems0Click();
    void xAdminSKPDTampilDataClick();
    void SpeedButton37Click();

public:
    QLineEdit* xAdminSKPDNama;
    QCheckBox* xAdminSKPDJenis1;
    QCheckBox* xAdminSKPDJenis2;
    QCheckBox* xAdminSKPDJenis3;
    QPushButton* xAdminSKPDTampilData;
    QLabel* xAdminSKPDJumlah;
    StringGrid* sg_admin_skpd_pns;
    QPushButton* SpeedButton37;
};
