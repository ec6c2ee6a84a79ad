#pragma once

#include "shell/page.h"

class StringGrid;

// A reading page of announcements, open to everybody, logged in or not: the
// general announcements of the performance system (xInfoTarvesa) or those
// about the performance allowance (xInfoTPP). The grid fills the page.
class InfoPage : public Page {
    Q_OBJECT
public:
    enum class List { Tarvesa, TPP };

    InfoPage(PageContext& ctx, List list);

    // Lists the announcements and only when that went through styles the
    // header and makes the page the active one; after a failure the
    // previous page stays. True when the page is shown.
    bool open();

    // sg_informasi_tarvesa or sg_informasi_tpp.
    StringGrid* sg_informasi;

private:
    QString procedure_;
    QString title_;
};
