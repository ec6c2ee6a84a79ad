#include "exporthost.h"

#include "indonesian.h"
#include "page.h"
#include "pagecontext.h"
#include "pageheader.h"

#include <QFileDialog>

ContextExportHost::ContextExportHost(PageContext& ctx, QWidget* window) : GridExportHost(window), ctx_(ctx), window_(window)
{
    setObjectName(QStringLiteral("eksporCsv"));
}

QString ContextExportHost::exportTitle() const
{
    if (const auto* page = qobject_cast<const Page*>(window_))
        return page->header()->caption();
    return window_->windowTitle();
}

QDate ContextExportHost::exportToday() const
{
    return ctx_.clock().today();
}

QString ContextExportHost::chooseCsvFile(const QString& proposedName)
{
    QFileDialog dialog(ctx_.dialogParent(), QStringLiteral("Ekspor ke CSV"));
    dialog.setObjectName(QStringLiteral("dlgEksporCsv"));
    prepareSaveDialog(dialog, QStringLiteral("File CSV (*.csv)"), QStringLiteral("csv"));
    dialog.selectFile(proposedName);
    ctx_.dialogs().exec(dialog);
    return savedFile(dialog);
}

Messages& ContextExportHost::exportMessages()
{
    return ctx_.messages();
}
