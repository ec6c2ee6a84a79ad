#pragma once

#include <QDate>
#include <QString>

class OperationHost;
class QLabel;

// The minutes a servant has recorded for one day against the working day,
// as the server counts them for its 480-minute refusal.
struct DayMinutes {
    bool known = false;
    int minutes = 0;
    int limit = 480;

    // "300 / 480", or "- / 480" when the server could not be asked.
    QString text() const;
    bool full() const { return known && minutes >= limit; }

    // Asks the server for the caller's own day. Quietly: the figure is a
    // help beside the user's work, so a server that is down leaves it
    // unknown instead of raising a message box at every change of date.
    static DayMinutes fetch(OperationHost& host, const QString& nip, const QDate& day);
};

// Shows the figure in a label, in red once the day is full.
void showDayMinutes(QLabel* label, const QString& prefix, const DayMinutes& minutes);
