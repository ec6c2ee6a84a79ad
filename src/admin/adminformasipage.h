#pragma once

#include "shell/page.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class StringGrid;

// The administrators' page of both announcement lists, one tab each: a
// filter by a fragment of the text, the list, and adding, changing and
// deleting announcements.
class AdmInformasiPage : public Page {
    Q_OBJECT
public:
    explicit AdmInformasiPage(PageContext& ctx);

public slots:
    void dxSettingItems2Click();
    void xAdmInformasiTampilTarvesaClick();
    void xAdmInformasiTampilTPPClick();
    void xAdmInformasiTarvesaShow();
    void xAdmInformasiTPPShow();
    void xAdmInformasiTambahTarvesaClick();
    void xAdmInformasiTambahTPPClick();
    void xAdmInformasiUbahTarvesaClick();
    void xAdmInformasiUbahTPPClick();
    void xAdmInformasiHapusTarvesaClick();
    void xAdmInformasiHapusTPPClick();

public:
    QTabWidget* pgInfoTarvesaTPP;
    QWidget* xAdmInformasiTarvesa;
    QLineEdit* Edit6;
    QPushButton* xAdmInformasiTampilTarvesa;
    QLabel* Label92;
    QPushButton* xAdmInformasiTambahTarvesa;
    QPushButton* xAdmInformasiUbahTarvesa;
    QPushButton* xAdmInformasiHapusTarvesa;
    StringGrid* sg_adm_informasi_tarvesa;
    QWidget* xAdmInformasiTPP;
    QLineEdit* Edit8;
    QPushButton* xAdmInformasiTampilTPP;
    QLabel* Label98;
    QPushButton* xAdmInformasiTambahTPP;
    QPushButton* xAdmInformasiUbahTPP;
    QPushButton* xAdmInformasiHapusTPP;
    StringGrid* sg_adm_informasi_tpp;

private:
    // The controls and the server's name of one list.
    struct Tab {
        QString aplikasi;
        QString name;
        QWidget* page;
        QLineEdit* filter;
        QPushButton* show;
        QLabel* count;
        QPushButton* add;
        QPushButton* change;
        QPushButton* remove;
        StringGrid* grid;
    };
    Tab buildTab(const QString& aplikasi, const QString& name, const char* pageName, const char* filterName,
                 const char* showName, const char* countName, const char* gridName, const char* suffix);
    void list(Tab& tab);
    // A new announcement, or a change of the selected one.
    void edit(Tab& tab, bool selected);
    void remove(Tab& tab);

    Tab tarvesa_;
    Tab tpp_;
};
