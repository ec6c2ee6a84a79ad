#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

class QDialog;

// Opens modal dialogs and wizards. Production runs them modally; tests drive
// the dialog instance they are handed and close it without timers.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    virtual int exec(QDialog& dialog) = 0;
};

class ModalDialogRunner : public DialogRunner {
public:
    int exec(QDialog& dialog) override;
};

// The local clock: presets date pickers and stamps trace lines. Periods and
// time windows come from the server's clock instead.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
