#include "page.h"

#include "pageheader.h"

#include <QVBoxLayout>

Page::Page(Tfmain& main, const QString& objectName, const QString& headerObjectName) : QWidget(nullptr), main_(main)
{
    setObjectName(objectName);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    header_ = new PageHeader(this, headerObjectName);
    outer->addWidget(header_);
    auto* content = new QWidget(this);
    body_ = new QVBoxLayout(content);
    body_->setContentsMargins(8, 8, 8, 8);
    body_->setSpacing(6);
    outer->addWidget(content, 1);
}
