#include "infopage.h"

#include "app/pagecontext.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace {

// Announcements are read, not scanned: rows a little taller than a list's.
constexpr int kRowHeight = 25;

} // namespace

InfoPage::InfoPage(PageContext& ctx, List list)
    : Page(ctx, list == List::Tarvesa ? QStringLiteral("xInfoTarvesa") : QStringLiteral("xInfoTPP"),
           list == List::Tarvesa ? QStringLiteral("xInfoTarvesaJudul") : QStringLiteral("xInfoTPPJudul")),
      procedure_(list == List::Tarvesa ? QStringLiteral("CALL `kinerja_informasi`() ")
                                       : QStringLiteral("CALL `tpp_informasi`() ")),
      title_(list == List::Tarvesa ? QStringLiteral("Informasi Tarvesa") : QStringLiteral("Informasi TPP"))
{
    sg_informasi = new StringGrid(this);
    sg_informasi->setObjectName(list == List::Tarvesa ? QStringLiteral("sg_informasi_tarvesa")
                                                      : QStringLiteral("sg_informasi_tpp"));
    if (list == List::TPP)
        sg_informasi->setSelectionBehavior(QAbstractItemView::SelectItems);
    sg_informasi->verticalHeader()->setDefaultSectionSize(kRowHeight);
    // The text gives way to a narrow window; a text longer than its cell
    // shows whole in the cell's tooltip.
    sg_informasi->setElasticColumns({1}, 300);
    body()->setContentsMargins(0, 0, 0, 0);
    body()->addWidget(sg_informasi, 1);
}

bool InfoPage::open()
{
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        fillGrid(*sg_informasi, q.open(procedure_),
                 {GridColumn::recNo(QStringLiteral("No."), 40),
                  GridColumn::field(QStringLiteral("Pengumuman"), 1000, QStringLiteral("pengumuman"))});
    });
    if (!ok)
        return false;
    ctx_.styleHeader(header(), title_);
    ctx_.showPage(this);
    return true;
}
