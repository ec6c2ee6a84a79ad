#pragma once

#include "shell/page.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class StringGrid;

// Monitoring of superiors for the system administrators: over the days of
// input in a range, direct superiors who leave their subordinates' work
// unverified past the verification window or reject much of it, and
// superiors two levels up who leave verified work unvalidated past the
// validation window.
class SupervisiPage : public Page {
    Q_OBJECT
public:
    explicit SupervisiPage(PageContext& ctx);

    // The "x,..." list of the ticked behaviours.
    QString findingList() const;

public slots:
    void dxAdminItems3Click();
    void BitBtn14Click();

public:
    QCheckBox* CheckBox17;
    QCheckBox* CheckBox18;
    QCheckBox* CheckBox19;
    QCheckBox* CheckBox20;
    QDateEdit* DateTimePicker2;
    QDateEdit* DateTimePicker3;
    QPushButton* BitBtn14;
    QLabel* xSupervisiJumlah;
    QLabel* xSupervisiCatatan;
    StringGrid* StringGrid1;
    QPushButton* xSupervisiTambah;
    QPushButton* xSupervisiHapus;

private:
    // States the rules the server applies (thresholds and windows).
    void loadRules();

    bool opened_ = false;
};
