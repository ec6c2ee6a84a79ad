#include "seams.h"

#include <QDialog>
#include <QEvent>

DialogWatch::DialogWatch(QDialog& dialog)
{
    dialog.installEventFilter(this);
    connect(&dialog, &QDialog::finished, this, [this](int result) {
        if (closing_)
            end_ = DialogEnd::Closed;
        else
            end_ = result == QDialog::Rejected ? DialogEnd::Rejected : DialogEnd::Accepted;
    });
}

bool DialogWatch::eventFilter(QObject* watched, QEvent* event)
{
    // A close through the window arrives as a close event before the
    // dialog rejects itself; accept(), reject() and done() send none. A
    // dialog never shown gets the event but no finished signal.
    if (event->type() == QEvent::Close && end_ == DialogEnd::StillOpen) {
        closing_ = true;
        end_ = DialogEnd::Closed;
    }
    return QObject::eventFilter(watched, event);
}

int ModalDialogRunner::exec(QDialog& dialog)
{
    return dialog.exec();
}
