#pragma once

#include <QDialog>

class PageContext;
class PageHeader;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Gives a registered civil servant an administrator's or supervisor's
// access level. Only an "Admin System" may; the server checks it again.
class Tfe_user : public QDialog {
    Q_OBJECT
public:
    explicit Tfe_user(PageContext& ctx);

    // Index of the checked item of rgLevel (0 "Admin Sektira", 1 "Admin
    // SKPD", 2 "Admin Supervisi"), -1 when none.
    int levelIndex() const;
    void setLevelIndex(int index);
    // The stored level the checked item gives ("Admin Supervisi" is the
    // level "Supervisor"); empty when none is checked.
    QString levelName() const;

public slots:
    // True when the level was given (the dialog then closes).
    bool btSimpanClick();

signals:
    // A level was changed; the list of accounts is stale.
    void saved();

public:
    PageHeader* fe_userJudul;
    QLineEdit* edNIP;
    QGroupBox* rgLevel;
    QRadioButton* rgLevelItem0;
    QRadioButton* rgLevelItem1;
    QRadioButton* rgLevelItem2;
    QPushButton* btSimpan;

protected:
    void showEvent(QShowEvent* event) override;

private:
    PageContext& ctx_;
    QButtonGroup* levels_;
};
