#include "page.h"

#include "exporthost.h"
#include "pageheader.h"

#include <QScrollArea>
#include <QVBoxLayout>

Page::Page(PageContext& ctx, const QString& objectName, const QString& headerObjectName) : QWidget(nullptr), ctx_(ctx)
{
    setObjectName(objectName);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    header_ = new PageHeader(this, headerObjectName);
    outer->addWidget(header_);
    // A window narrower than a page scrolls the page instead of squeezing
    // its controls below their minimum sizes.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    body_ = new QVBoxLayout(content);
    body_->setContentsMargins(8, 8, 8, 8);
    body_->setSpacing(6);
    scroll->setWidget(content);
    outer->addWidget(scroll, 1);
    // Every list of the page can be saved as a spreadsheet file.
    new ContextExportHost(ctx, this);
}
