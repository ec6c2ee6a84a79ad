#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>

#include <functional>

class QDialog;

// Opens modal dialogs and wizards. Production runs them modally; tests drive
// the dialog instance they are handed and close it without timers.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    virtual int exec(QDialog& dialog) = 0;
};

// How a dialog ended: accept() (or done() with any other code than
// Rejected), reject() (Cancel, Esc), closed through its window (the title
// bar's close button), or not at all yet.
enum class DialogEnd { StillOpen, Accepted, Rejected, Closed };

// Watches one dialog from the moment it is opened and tells how it stands.
// Works also for a dialog that was never shown, as in tests.
class DialogWatch : public QObject {
public:
    explicit DialogWatch(QDialog& dialog);
    DialogEnd end() const { return end_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DialogEnd end_ = DialogEnd::StillOpen;
    bool closing_ = false;
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
