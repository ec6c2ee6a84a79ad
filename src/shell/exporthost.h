#pragma once

#include "ui/stringgrid.h"

class PageContext;
class QWidget;

// Lets the grids of a page or dialog save their rows: the file dialog runs
// through the context's dialog seam and the messages through its message
// seam; the title is the page header's caption, or the dialog's window
// title. Made a child of the window it serves.
class ContextExportHost : public GridExportHost {
    Q_OBJECT
public:
    ContextExportHost(PageContext& ctx, QWidget* window);

    QString exportTitle() const override;
    QDate exportToday() const override;
    QString chooseCsvFile(const QString& proposedName) override;
    Messages& exportMessages() override;

private:
    PageContext& ctx_;
    QWidget* window_;
};
