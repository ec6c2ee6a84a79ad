#include "pagecontext.h"

#include "pageheader.h"

void PageContext::styleHeader(PageHeader* header, const QString& caption)
{
    const HeaderLook look = headerLook();
    header->setColors(look.from, look.to);
    header->setHeaderHeight(look.height);
    header->setFontSize(look.fontSize);
    header->setCaption(caption);
}
