#pragma once

#include "shell/page.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class StringGrid;

// The superior's subordinates: direct ones, those two levels down and those
// led through an acting post or a side assignment. The actions open the
// selected subordinate's activities, quality assessment and additional
// tasks; the main window connects them to those pages.
class BawahanPage : public Page {
    Q_OBJECT
public:
    explicit BawahanPage(PageContext& ctx);

    // The text "x,..." lists of the ticked position-kind and status boxes.
    QString positionKindList() const;
    QString statusList() const;

signals:
    // The selected subordinate and the row's "Jenis Bawahan" text.
    void activitiesRequested(const QString& nip, const QString& nama, const QString& jenisBawahan);
    void qualityRequested(const QString& nip, const QString& nama);
    void tasksRequested(const QString& nip, const QString& nama);

public slots:
    void dxTarvesaItems3Click();
    void btBawahanTampilDataClick();
    void btbAktivitasHarianClick();
    void btbKualitasMutuClick();
    void btbTugasTambahanClick();
    // The monthly report of the selected direct subordinate.
    void CetakLaporan2Click();

public:
    QLineEdit* edBawahanFilterNama;
    QCheckBox* cbBawahanJJabS;
    QCheckBox* cbBawahanJJabF;
    QCheckBox* cbBawahanJJabP;
    QCheckBox* cbBawahanJBL;
    QCheckBox* cbBawahanJBP;
    QPushButton* btBawahanTampilData;
    QLabel* lbBawahanJumlah;
    QPushButton* btbTugasTambahan;
    QPushButton* btbAktivitasHarian;
    QPushButton* btbKualitasMutu;
    StringGrid* sg_bawahan;
    QMenu* poBawahan;
    QAction* ugasTambahan1;
    QAction* MenuItem2;
    QAction* MenuItem4;
    QAction* MenuItem6;
    QAction* MenuItem7;
    QAction* CetakLaporan2;

private:
    // The selected row's cell; false (after the message) on an empty list.
    bool selected(QString& nip, QString& nama, QString& jenis);
    // "B1" for a direct subordinate, "B2" for any other distance.
    void setSupervisionMode(const QString& jenisBawahan);
};
