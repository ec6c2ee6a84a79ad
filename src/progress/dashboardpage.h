#pragma once

#include "app/page.h"

#include <array>

class ProfilPage;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The dashboard: who the user is, the own progress of this and the previous
// month, and the second-level progress that takes in the subordinates'.
// It also loads the profile grid that other pages read the user's facts from.
class DashboardPage : public Page {
    Q_OBJECT
public:
    // The profile page shows the rows the profile load finds.
    DashboardPage(PageContext& ctx, ProfilPage& profil);

    // One progress figure: a bar (0..100) and its value label.
    struct Gauge {
        QProgressBar* bar;
        QLabel* label;
    };

public slots:
    // The profile load ("Dashboard" in the side bar, also run by the login).
    void dxTarvesaItems0Click();
    void ResetProgressGauges();
    void LoadProgress();
    void SpeedButton23Click() { LoadProgress(); }
    void btDashRasioClick();

public:
    QLabel* lDsNIP;
    QLabel* lDsNama;
    QLabel* lDsJabatan;
    QLabel* lDsJJabaatan;
    QPushButton* SpeedButton23;
    QPushButton* btDashRasio;
    QLabel* lDsProgressTime;
    QPlainTextEdit* Memo3;

    Gauge gaiDiakui, gaiBulanan, gaiUtama, gaiTambahan, gaiLainnya;
    Gauge gaiDiakui2, gaiBulanan2, gaiUtama2, gaiTambahan2, gaiLainnya2;
    Gauge gaiAKI, gaiAKB, gaiAKB2, gaiAKTotal;

private:
    ProfilPage& profil_;
    void trace(const QString& what);
    bool loadMonth(const QString& periodSql, const std::array<Gauge*, 5>& gauges, bool current);
};
