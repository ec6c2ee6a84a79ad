#pragma once

#include <QTranslator>

class QCoreApplication;
class QFileDialog;

// Qt's own texts (context menus of the edit fields, standard buttons, scroll
// bar menu) in Indonesian. Debian ships no Indonesian translation of Qt, so
// the few texts our users meet are kept here.
class QtIndonesianTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
    // Whether a text that Qt asks for has its Indonesian here, or is one
    // that stays as it is (key and paper names).
    static bool covers(const char* context, const char* sourceText);
};

// Indonesian for dates, numbers, month names of the calendars and Qt's own
// texts, whatever the machine's locale. Call before any widget is made:
// widgets take the default locale when they are created.
void applyIndonesian(QCoreApplication& app);

// A save dialog of files of one kind ("File CSV (*.csv)", suffix "csv"):
// Qt's own dialog, not the desktop's, so it looks the same everywhere,
// carries Indonesian captions and can be driven by tests. It opens in the
// folder of the last file saved (savedFile).
void prepareSaveDialog(QFileDialog& dialog, const QString& nameFilter, const QString& suffix);
// The file chosen in a save dialog that was accepted; its folder is where
// every save dialog opens next, until the program ends (the client keeps no
// state on the machine). Empty when nothing was chosen.
QString savedFile(const QFileDialog& dialog);
