#pragma once

#include "shell/page.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class StringGrid;

// Acting and side assignments (Plt, Plh, head of a school or health
// centre, Korwil) with their positions, periods and state; "Tambah" records
// one, "Ubah" changes the last day of the selected one or ends it.
class AdmPltPage : public Page {
    Q_OBJECT
public:
    explicit AdmPltPage(PageContext& ctx);

    // "x,..." lists of the ticked kind and status boxes.
    QString kindList() const;
    QString statusList() const;

public slots:
    void dxSettingItems3Click();
    void xAdmPltTampilDataClick();
    void ambah2Click();
    void Ubah1Click();

public:
    QLineEdit* xAdmPltNama;
    QCheckBox* xAdmPltJenis1;
    QCheckBox* xAdmPltJenis2;
    QCheckBox* xAdmPltJenis3;
    QCheckBox* xAdmPltJenis4;
    QCheckBox* xAdmPltAktif1;
    QCheckBox* xAdmPltAktif2;
    QPushButton* xAdmPltTampilData;
    QLabel* xAdmPltJumlah;
    StringGrid* sg_admPlt;
    QMenu* poAdmPlt;
    QAction* ambah2;
    QAction* Ubah1;
    // The popup's two actions as buttons under the list, where a user
    // finds them without a right click.
    QPushButton* btAdmPltTambah;
    QPushButton* btAdmPltUbah;
};
