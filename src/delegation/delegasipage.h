#pragma once

#include "shell/page.h"

class QLabel;
class QLineEdit;
class QPushButton;
class StringGrid;

// The administrators' delegations of supervision: the filtered list with
// each delegation's period and state, the wizard that adds one and the
// dialog that sets the end date of one in force.
class DelegasiPage : public Page {
    Q_OBJECT
public:
    explicit DelegasiPage(PageContext& ctx);

    // Only these levels may add or change a delegation; "Admin Sektira"
    // reads the list of its own agency.
    static bool mayChange(const QString& level);

public slots:
    void dxAdminItems1Click();
    void xDelegasiTampilDataClick();
    void SpeedButton7Click();
    void SpeedButton8Click();

public:
    QLineEdit* xDelegasiNama;
    QPushButton* xDelegasiTampilData;
    QLabel* xDelegasiJumlah;
    QLabel* xDelegasiCatatan1;
    QLabel* xDelegasiCatatan2;
    StringGrid* sg_delegasi;
    QPushButton* SpeedButton7;
    QPushButton* SpeedButton8;

private:
    // A note text of the server; false (after the message) on a failure.
    bool loadNote(const QString& id, QLabel* label);
    // False, after telling the user, for a level that changes nothing.
    bool requireChangeRight();
};
