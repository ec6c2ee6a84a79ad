#include "infopage.h"

#include "shell/pagecontext.h"
#include "db/query.h"
#include "db/resultset.h"
#include "ui/stringgrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// Announcements are read, not scanned: rows a little taller than a list's.
constexpr int kRowHeight = 25;
constexpr int kPadX = 3;
constexpr int kPadY = 4;

// Draws the cells of announcements wrapped; a row is as tall as its text
// needs, never lower than kRowHeight.
class WrapDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QVariant bg = index.data(Qt::BackgroundRole);
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
        else if (bg.isValid())
            painter->fillRect(option.rect, bg.value<QBrush>());
        painter->save();
        painter->setClipRect(option.rect);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(textRect(option.rect), wrapFlags(), index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect area = textRect(QRect(0, 0, option.rect.width(), 1 << 20));
        const QRect need = QFontMetrics(option.font).boundingRect(area, wrapFlags(), index.data(Qt::DisplayRole).toString());
        // the view adds a pixel for the grid line
        return {option.rect.width(), std::max(kRowHeight, need.height() + 2 * kPadY) - 1};
    }

private:
    static int wrapFlags() { return Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap; }
    static QRect textRect(const QRect& cell) { return cell.adjusted(kPadX, kPadY, -2, -kPadY); }
};

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
    // The text gives way to a narrow window and wraps in its cell, so that
    // every announcement is read whole. A few dozen rows: sizing each row to
    // its text costs nothing here.
    sg_informasi->setElasticColumns({1}, 300);
    sg_informasi->setElasticFloor(1, 300); // a wrapped text in a narrower column reads worse
    sg_informasi->setWordWrap(true);
    sg_informasi->setItemDelegate(new WrapDelegate(sg_informasi));
    connect(sg_informasi->horizontalHeader(), &QHeaderView::sectionResized, sg_informasi,
            [g = sg_informasi] { g->resizeRowsToContents(); });
    body()->setContentsMargins(0, 0, 0, 0);
    body()->addWidget(sg_informasi, 1);
}

bool InfoPage::open()
{
    const bool ok = Envelope(ctx_).run([&](db::Query& q) {
        fillGrid(*sg_informasi, q.open(procedure_),
                 {GridColumn::recNo(QStringLiteral("No."), 40),
                  GridColumn::field(QStringLiteral("Pengumuman"), 1000, QStringLiteral("pengumuman"))});
        sg_informasi->resizeRowsToContents();
    });
    if (!ok)
        return false;
    ctx_.styleHeader(header(), title_);
    ctx_.showPage(this);
    return true;
}
