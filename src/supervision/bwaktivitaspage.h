#pragma once

#include "shell/page.h"

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;
class StringGrid;

namespace db {
class ResultSet;
}

// One subordinate's activities over a date range, for the direct superior
// to approve or reject and for the superior two levels up to validate. The
// supervision mode of the session ("B1" direct, "B2" two levels) decides
// which list and which actions apply.
class BwAktivitasPage : public Page {
    Q_OBJECT
public:
    explicit BwAktivitasPage(PageContext& ctx);

    // Entry from the subordinate list: the subordinate, and the row's
    // hierarchy distance ("Bawahan Langsung", "Bawahan Dua Tingkat", ...).
    // The supervision mode is already set in the session.
    void openFor(const QString& nip, const QString& nama, const QString& jenisBawahan);

    QString typeList() const;
    QString statusList() const;
    QString subordinateNip() const { return nip_; }

signals:
    void backRequested();

public slots:
    void xBwAktivitasTampilDataClick();
    void xBwAktivitasSetujuiClick();
    void xBwAktivitasTolakClick();
    void xBwAktivitasValidasiClick();
    void xBwAktivitasSetujuiAllClick();
    void xBwAktivitasValidasiSemuaClick();

public:
    QPushButton* SpeedButton33;
    QLineEdit* xBwAktivitasEdAktivitas;
    QCheckBox* cbBwJJab1;
    QCheckBox* cbBwJJab2;
    QCheckBox* cbBwJJab3;
    QCheckBox* cbBwStat1;
    QCheckBox* cbBwStat2;
    QCheckBox* cbBwStat3;
    QCheckBox* cbBwStat4;
    QCheckBox* cbBwStat5;
    QCheckBox* cbBwStat6;
    QLabel* xBwAktivitasLbTanggal;
    QDateEdit* xBwAktivitasTanggalAwal;
    QDateEdit* xBwAktivitasTanggalAkhir;
    QPushButton* xBwAktivitasTampilData;
    QLabel* lbBwAktivitasJumlah;
    StringGrid* sg_aktivitas_bawahan;
    QWidget* pBwAktivitasAction2tk;
    QPushButton* xBwAktivitasValidasi;
    QPushButton* xBwAktivitasValidasiSemua;
    QWidget* pBwAktivitasAction1tk;
    QPushButton* xBwAktivitasSetujui;
    QPushButton* xBwAktivitasTolak;
    QPushButton* xBwAktivitasSetujuiAll;
    QMenu* poBwAktivitas;
    QAction* Setujui2;
    QAction* olak2;

private:
    bool directMode() const;
    QString cellOfCurrent(int col) const;
    // Runs a time-window procedure on a date of the current row; false
    // (after its refusal) when the action must stop.
    bool windowAllows(const QString& call, const QString& param, int dateCol, const QString& heading,
                      const QString& allowedText, const QString& from);
    // Approve or reject the current row: window, status, confirmation, action.
    void verifyCurrent(bool approve);
    // Approve (or validate) every listed row: one window check, the
    // question, one envelope per row, then the report and the reload.
    void actOnAll(bool validate);
    void setApproveRejectVisible(bool visible);

    QString nip_;
};
