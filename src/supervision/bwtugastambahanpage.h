#pragma once

#include "shell/page.h"

class QLabel;
class QPushButton;
class StringGrid;

// A subordinate's additional tasks: list, add one through the position
// picker while the limit allows, end one.
class BwTugasTambahanPage : public Page {
    Q_OBJECT
public:
    explicit BwTugasTambahanPage(PageContext& ctx);

    // Entry from the subordinate list: the page now speaks of this
    // subordinate; sets the title, shows the page, then loads the list.
    void openFor(const QString& nip, const QString& nama);

    QString subordinateNip() const { return nip_; }
    QString subordinateName() const { return nama_; }

public slots:
    void xBwTugasTambahanTampilkanClick();
    void SpeedButton27Click();
    void SpeedButton28Click();

public:
    QPushButton* SpeedButton1; // Back
    QPushButton* xBwTugasTambahanTampilkan;
    QLabel* Label81;
    StringGrid* sg_BwTugasTambahan;
    QPushButton* SpeedButton27;
    QPushButton* SpeedButton28;

private:
    QString nip_;
    QString nama_;
};
