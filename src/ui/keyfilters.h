#pragma once

#include <QObject>

#include <functional>

class QDate;
class QDateTimeEdit;
class QLineEdit;
class QWidget;

// Runs an action when Enter is pressed in the watched widget. The key is not
// consumed: the widget still sees it.
class EnterKeyFilter : public QObject {
public:
    EnterKeyFilter(QWidget* watched, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> action_;
};

// Lets only the digits 0-9 and Backspace reach the watched widget; every
// other typed character is dropped. Editing keys (arrows, Delete) still work.
class DigitsOnlyFilter : public QObject {
public:
    explicit DigitsOnlyFilter(QWidget* watched);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Enter in the edit starts the action (the field keeps the key).
void onEnter(QWidget* edit, std::function<void()> action);
// Enter starts nothing: lists refresh only with their button.
void ignoreEnter(QWidget* edit);
// Digits and Backspace only, also for pasted text.
void digitsOnly(QLineEdit* edit);

// A date field that takes typing where the user puts the cursor: a click
// or an arrow key into the day, month or year selects that part, so that
// the digits typed replace it (Qt adds them to a full part, which drops
// them). Within the part typed, the next one follows as usual.
void typeableDate(QDateTimeEdit* edit);
// The dates a field accepts: from 2000, before any record of the system,
// to the end of the year yearsAhead after today. A typed year outside them
// does not get in; the field keeps its last good date.
void boundDates(QDateTimeEdit* edit, const QDate& today, int yearsAhead = 1);
