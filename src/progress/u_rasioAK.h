#pragma once

#include <QDialog>

class PageHeader;
class QPushButton;
class StringGrid;
class PageContext;

// Read-only window with the proportions in which the second-level progress
// mixes its sources, per position classification, and a legend of the
// classifications.
class Tf_rasioAK : public QDialog {
    Q_OBJECT
public:
    explicit Tf_rasioAK(PageContext& ctx);

    // Loads both tables and shows the window modally; it does not appear
    // when a load fails or a table comes back empty.
    static void open(PageContext& ctx);

    PageHeader* f_rasioAKjudul;
    StringGrid* sg_rasioAK;
    StringGrid* sg_keteranganKJ;
    QPushButton* BitBtn1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    PageContext& ctx_;
};
