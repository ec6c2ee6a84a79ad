#pragma once

#include <QDialog>

class PageHeader;
class PageContext;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// Enters a new announcement of one list, or changes the text and order
// number of an existing one.
class Tfe_informasi : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxLength = 1000;

    // aplikasi: "tarvesa" or "tpp"; listName: the list's name in captions.
    Tfe_informasi(PageContext& ctx, const QString& aplikasi, const QString& listName);

    // Turns the dialog into the change of an existing announcement.
    void setAnnouncement(const QString& id, const QString& text, int urutan);

public slots:
    // True when the announcement was saved (the dialog then closes).
    bool btSimpanClick();
    void edPengumumanChange();

public:
    PageHeader* fe_informasiJudul;
    QPlainTextEdit* edPengumuman;
    QLabel* lbPanjang;
    QSpinBox* edUrutan;
    QPushButton* btSimpan;
    QPushButton* btBatal;

private:
    PageContext& ctx_;
    QString aplikasi_;
    QString listName_;
    QString id_; // empty for a new announcement
    QString oldText_;
    int oldUrutan_ = 0;
};
