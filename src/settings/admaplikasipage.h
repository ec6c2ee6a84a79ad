#pragma once

#include "shell/page.h"

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class ToggleSwitch;

// The administrator's page of the system's parameters held in the server's
// setting store: the maintenance switch, four time windows and six limits.
// Every opening reloads all fields; "Simpan" writes all of them.
class AdmAplikasiPage : public Page {
    Q_OBJECT
public:
    explicit AdmAplikasiPage(PageContext& ctx);

    // Whether every setting came from the server at the last opening; only
    // then may "Simpan" write them back.
    bool loadedCleanly() const { return loadedCleanly_; }

    // A window edit's text as it is sent: separators, digits and a blank in
    // each empty place, always 19 characters.
    static QString maskedText(const QLineEdit* edit);

signals:
    // Every setting was saved (the main window then shows the dashboard).
    void saved();

public slots:
    void dxSettingItems0Click();
    void BitBtn25Click();

public:
    QTabWidget* PageControl2;
    QWidget* TabSheet1;
    ToggleSwitch* tsIsMaintenance;
    QLineEdit* meAktivitasAwal;
    QLineEdit* meAktivitasAkhir;
    QLineEdit* meKualMutuAwal;
    QLineEdit* meKualMutuAkhir;
    QLineEdit* meSasaranAwal;
    QLineEdit* meSasaranAkhir;
    QLineEdit* meKamusAwal;
    QLineEdit* meKamusAkhir;
    QLineEdit* edBatasInputAktivitas;
    QLineEdit* edBatasWaktuVerifikasi;
    QLineEdit* edBatasWaktuValidasi;
    QLineEdit* edTargetSKR;
    QLineEdit* edAktivitasAutoApprove;
    QLineEdit* edSKROperasionalMax;
    QPushButton* BitBtn25;

private:
    struct Window {
        QString caption;
        QString nama;
        QLineEdit* awal;
        QLineEdit* akhir;
        QString storedEnd; // the end as the server holds it, as far as this page knows
    };
    struct Number {
        QString caption;
        QString nama;
        QLineEdit* edit;
        QString unit;
        int column; // 0 under "Aktivitas Harian", 1 under "Kamus Jabatan"
    };

    // Whether the typed start lies after the window's stored end: its end
    // must then be saved before its start.
    static bool movesPastStoredEnd(const Window& w);

    std::vector<Window> windows_;
    std::vector<Number> numbers_;
    bool loadedCleanly_ = false;
};
