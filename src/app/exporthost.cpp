#include "exporthost.h"

#include "page.h"
#include "pagecontext.h"
#include "pageheader.h"

#include <QDir>
#include <QFileDialog>

namespace {
// The folder of the last export, proposed again until the program ends.
QString lastFolder;
} // namespace

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
    // Qt's own dialog, not the desktop's: the same everywhere, with
    // Indonesian captions, and one that tests can drive.
    QFileDialog dialog(ctx_.dialogParent(), QStringLiteral("Ekspor ke CSV"));
    dialog.setObjectName(QStringLiteral("dlgEksporCsv"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("File CSV (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Simpan di:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nama file:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Jenis file:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Simpan"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Batal"));
    dialog.setDirectory(lastFolder.isEmpty() ? QDir::homePath() : lastFolder);
    dialog.selectFile(proposedName);
    if (ctx_.dialogs().exec(dialog) != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return {};
    lastFolder = QFileInfo(files.first()).absolutePath();
    return files.first();
}

Messages& ContextExportHost::exportMessages()
{
    return ctx_.messages();
}
