#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class StringGrid;
class PageContext;
class WizardFrame;

// Records a new delegation in four steps: explanation, the official, the
// receiving administrator-level unit, summary and save.
class Tft_delegasi : public QDialog {
    Q_OBJECT
public:
    explicit Tft_delegasi(PageContext& ctx);

public slots:
    void JvWizardInteriorPage2EnterPage();
    void btDelegasiJFTampilDataClick();
    // Each answers whether the wizard moved on.
    bool JvWizardInteriorPage2NextButtonClick();
    void JvWizardInteriorPage3EnterPage();
    void btDelegasiUnitTampilDataClick();
    bool JvWizardInteriorPage3NextButtonClick();
    void JvWizardInteriorPage4EnterPage();
    // True when the delegation was stored (the wizard then closes).
    bool JvWizardInteriorPage4FinishButtonClick();
    void backClick();

public:
    WizardFrame* JvWizard1;
    QPlainTextEdit* Memo1;
    QLineEdit* edNama;
    QPushButton* btDelegasiJFTampilData;
    QLabel* lbJumlahData;
    StringGrid* sg_jf_list;
    QLineEdit* edNamaUnit;
    QPushButton* btDelegasiUnitTampilData;
    QLabel* lbUnitJumlah;
    StringGrid* sg_unit_list;
    QLineEdit* edsNIP;
    QLineEdit* edsNama;
    QLineEdit* edsUnit;

    // The choices carried from page to page.
    QString var_induk;
    QString var_unit;

private:
    // Shows a page and runs what entering it runs (also when going back).
    void enterPage(int page);

    PageContext& ctx_;
};
