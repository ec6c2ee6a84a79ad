#pragma once

#include "shell/page.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;
class StringGrid;

// The dictionary verifiers: who checks the proposed task details of which
// functional positions. Lists the verifiers matching a keyword (part of a
// name or NIP, or of a verified position's name) and the positions of the
// selected one; administrators assign and remove positions.
class VerifKamusPage : public Page {
    Q_OBJECT
public:
    explicit VerifKamusPage(PageContext& ctx);

    // The selected verifier's NIP and name; empty without verifiers.
    QString verifierNip() const;
    QString verifierName() const;

public slots:
    void dxSettingItems5Click();
    void xVerifKamusTampilDataClick();
    // The positions of the selected verifier.
    void StringGrid4Click();
    void SpeedButton20Click();
    void SpeedButton18Click();
    void SpeedButton35Click();
    void SpeedButton22Click();
    void SpeedButton34Click();

public:
    QLineEdit* xVerifKamusKeyword;
    QPushButton* xVerifKamusTampilData;
    QLabel* xVerifKamusJumlah;
    StringGrid* StringGrid4;
    QWidget* pVerifKamusAction;
    QPushButton* SpeedButton20;
    QPushButton* SpeedButton18;
    QPushButton* SpeedButton19;
    StringGrid* StringGrid5;
    QMenu* poKamusFPRincian;
    QAction* InfoAktivitas1;
    QAction* ambah1;
    QAction* Hapus1;
    QPushButton* SpeedButton35;
    QPushButton* SpeedButton22;
    QPushButton* SpeedButton34;

private:
    // Reloads both lists, selecting the verifier with this NIP when listed.
    void reload(const QString& keepNip);
    bool filling_ = false;
};
