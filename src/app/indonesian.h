#pragma once

#include <QTranslator>

class QCoreApplication;

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
