#pragma once

#include "shell/seams.h"
#include "ui/messages.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

// Records every message instead of showing it; answers questions from a
// queue and fails the test on a question nobody expected.
class ScriptedMessages : public Messages {
public:
    struct Entry {
        Kind kind;
        QString text;
    };

    void show(Kind kind, const QString& text) override { log.append({kind, text}); }
    bool confirm(const QString& text) override;

    QStringList texts() const;
    // Each text up to its first line break: the fixed message of a failure
    // without the server's reason that may follow it.
    QStringList headlines() const
    {
        QStringList out;
        for (const QString& t : texts())
            out << t.section(QLatin1Char('\r'), 0, 0);
        return out;
    }
    QString last() const { return log.isEmpty() ? QString() : log.last().text; }
    Kind lastKind() const { return log.isEmpty() ? Kind::Plain : log.last().kind; }
    void clear()
    {
        log.clear();
        answers.clear();
    }

    QList<Entry> log;
    QList<bool> answers;
};

// Hands each dialog that a page opens to the next script, which drives it
// and returns its result. A dialog nobody expected fails the test.
class ScriptedDialogs : public DialogRunner {
public:
    using Script = std::function<int(QDialog&)>;
    int exec(QDialog& dialog) override;
    // Queues a script that drives the dialog; the dialog's own result
    // (Accepted once it accepted itself) is what exec answers.
    void expect(std::function<void(QDialog&)> drive)
    {
        scripts << [drive = std::move(drive)](QDialog& d) {
            drive(d);
            return d.result();
        };
    }

    // How the dialog being driven stands while its script runs.
    DialogEnd state() const { return watch_ ? watch_->end() : DialogEnd::StillOpen; }
    // How the last dialog had ended when its script returned; a dialog
    // left open counts as StillOpen, as a wizard waiting for the user.
    DialogEnd lastEnd() const { return ended.isEmpty() ? DialogEnd::StillOpen : ended.last(); }

    QList<Script> scripts;
    QStringList opened; // class names, in order
    QList<DialogEnd> ended; // one per dialog that had a script, in order

private:
    const DialogWatch* watch_ = nullptr;
};

// Readable names in QCOMPARE failures.
char* toString(DialogEnd end);

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime t) : t_(std::move(t)) {}
    QDateTime now() const override { return t_; }
    void set(const QDateTime& t) { t_ = t; }

private:
    QDateTime t_;
};
