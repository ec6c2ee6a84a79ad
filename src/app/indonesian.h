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
};

// Indonesian for dates, numbers, month names of the calendars and Qt's own
// texts, whatever the machine's locale. Call before any widget is made:
// widgets take the default locale when they are created.
void applyIndonesian(QCoreApplication& app);

// A save dialog of files of one kind ("File CSV (*.csv)", suffix "csv"):
// Qt's own dialog, not the desktop's, so it looks the same everywhere,
// carries Indonesian captions and can be driven by tests.
void prepareSaveDialog(QFileDialog& dialog, const QString& nameFilter, const QString& suffix);
