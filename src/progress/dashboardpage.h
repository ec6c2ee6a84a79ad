#pragma once

#include "shell/page.h"

#include <array>
#include <functional>

namespace db {
class Query;
}

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

signals:
    // The superior's line of waiting work was clicked: the subordinate list.
    void subordinatesRequested();

public slots:
    // The profile load ("Dashboard" in the side bar, also run by the login).
    void dxTarvesaItems0Click();
    void ResetProgressGauges();
    void LoadProgress();
    // The figures, and a superior's line of waiting work with them.
    void SpeedButton23Click();
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
    // A superior's subordinates' work waiting for verification or
    // validation; hidden for everybody else.
    QPushButton* btDsBawahanMenunggu;

    Gauge gaiDiakui, gaiBulanan, gaiUtama, gaiTambahan, gaiLainnya;
    Gauge gaiDiakui2, gaiBulanan2, gaiUtama2, gaiTambahan2, gaiLainnya2;
    Gauge gaiAKI, gaiAKB, gaiAKB2, gaiAKTotal;

private:
    ProfilPage& profil_;
    // Whether the last profile load found a superior.
    bool leads_ = false;
    void trace(const QString& what);
    // One step of the profile load: a failure is told and ends the load.
    bool loadStep(const std::function<void(db::Query&)>& body);
    // Fills btDsBawahanMenunggu for a superior (leads_); false when the
    // load failed.
    bool loadWaitingWork();
    bool loadMonth(const QString& periodSql, const std::array<Gauge*, 5>& gauges, bool current);
};
