#include "seams.h"

#include <QDialog>

int ModalDialogRunner::exec(QDialog& dialog)
{
    return dialog.exec();
}
