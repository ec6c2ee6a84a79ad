#pragma once

#include "shell/page.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class StringGrid;

// Monitoring of the server's process log for "Admin System": the entries of
// a range of days and of the ticked kinds, newest first.
class LogPage : public Page {
    Q_OBJECT
public:
    explicit LogPage(PageContext& ctx);

    // The ticked kinds as "x,code,...": the server knows which actions each
    // code stands for.
    QString kindList() const;

public slots:
    void dxAdminItems2Click();
    void xLogSearchClick();

public:
    QDateEdit* dtLogStart;
    QDateEdit* dtLogEnd;
    QCheckBox* cbLog1;
    QCheckBox* cbLog2;
    QCheckBox* cbLog3;
    QCheckBox* cbLog4;
    QCheckBox* CheckBox14;
    QCheckBox* CheckBox15;
    QCheckBox* CheckBox13;
    QCheckBox* cbLog5;
    QCheckBox* cbLog6;
    QCheckBox* cbLog7;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox11;
    QCheckBox* CheckBox12;
    QCheckBox* CheckBox16;
    QCheckBox* CheckBox17;
    QPushButton* xLogSearch;
    QLabel* lbLogCount;
    StringGrid* sg_log;
};
