#pragma once

#include "shell/page.h"

class QCheckBox;
class QLabel;
class QPushButton;
class StringGrid;

// A subordinate's monthly quality assessments, whether the period being
// assessed is graded already, and the way into the grading dialog.
class BwKualMutuPage : public Page {
    Q_OBJECT
public:
    explicit BwKualMutuPage(PageContext& ctx);

    // Entry from the subordinate list: the page now speaks of this
    // subordinate; sets the title, loads the list, then shows the page. The
    // supervision mode is the session's, set by the caller.
    void openFor(const QString& nip, const QString& nama);

    QString subordinateNip() const { return nip_; }
    QString subordinateName() const { return nama_; }

public slots:
    void btKualMutuTampilDataClick();
    void SpeedButton4Click();

public:
    QPushButton* SpeedButton6; // Back
    QPushButton* btKualMutuTampilData;
    QLabel* Label29;
    QLabel* Label85;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox10;
    QLabel* lbKualMutuStatus;
    QPushButton* SpeedButton4;
    StringGrid* sg_kualMutu;

private:
    void showStatus(const QString& caption, const QColor& colour);

    QString nip_;
    QString nama_;
};
