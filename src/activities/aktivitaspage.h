#pragma once

#include "shell/page.h"

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class StringGrid;

// The user's own daily activities over a date range, narrowed by type,
// status and task name; the place to add, change, delete and inspect them.
class AktivitasPage : public Page {
    Q_OBJECT
public:
    explicit AktivitasPage(PageContext& ctx);

    // The text "x,..." lists of the ticked type and status boxes.
    QString typeList() const;
    QString statusList() const;

public slots:
    void dxTarvesaItems2Click();
    void xAktivitasTampilDataClick();
    void Refresh1Click();
    void info1Click();
    void SpeedButton2Click();
    void SpeedButton21Click();
    void SpeedButton3Click();
    void xAktivitasInfoClick();
    // The monthly report of the user, for the month the list's range starts in.
    void CetakLaporan1Click();
    // The minutes recorded for the day of xAktivitasTanggalMenit, from the
    // server; after every reload of the list and every change of that day.
    void refreshDayMinutes();

public:
    QLineEdit* xAktivitasEdAktivitas;
    QDateEdit* xAktivitasTanggalAwal;
    QDateEdit* xAktivitasTanggalAkhir;
    QCheckBox* cbJJab1;
    QCheckBox* cbJJab2;
    QCheckBox* cbJJab3;
    QCheckBox* cbStat1;
    QCheckBox* cbStat2;
    QCheckBox* cbStat3;
    QCheckBox* cbStat4;
    QCheckBox* CheckBox21;
    QCheckBox* CheckBox22;
    QPushButton* xAktivitasTampilData;
    QLabel* lbAktivitasJumlah;
    StringGrid* sg_aktivitas;
    QPushButton* xAktivitasInfo;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton21;
    QPushButton* SpeedButton3;
    QDateEdit* xAktivitasTanggalMenit;
    QLabel* lbAktivitasMenit;
    QMenu* poAktivitas;
    QAction* info1;
    QAction* N1;
    QAction* Setujui1;
    QAction* olak1;
    QAction* N2;
    QAction* Refresh1;
    QAction* N3;
    QAction* CetakLaporan1;

private:
    bool hasDataRows() const;
    // The server's verdict on the verification window for the selected row;
    // false (after its message) when the action must stop.
    bool windowAllows(const QString& refusal, const QString& allowedText);
};
