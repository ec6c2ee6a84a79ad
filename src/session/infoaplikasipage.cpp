#include "infoaplikasipage.h"

#include "shell/pageheader.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel* tahoma(const QString& text, int pixelSize, bool bold, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    return l;
}
} // namespace

InfoAplikasiPage::InfoAplikasiPage(PageContext& ctx)
    : Page(ctx, QStringLiteral("xInfoAplikasi"), QStringLiteral("xInfoAplikasiJudul"))
{
    header()->setCaption(QStringLiteral("Info Aplikasi"));
    body()->addStretch(1);
    auto* brand = tahoma(QStringLiteral("Sektira"), 48, true, this);
    brand->setStyleSheet(QStringLiteral("color: #9932CC;"));
    body()->addWidget(brand);
    body()->addWidget(tahoma(QStringLiteral("Tarvesa Kelordan - Aplikasi Kinerja PNS Kabupaten Kelordan"), 27, true, this));
    body()->addSpacing(24);
    body()->addWidget(tahoma(QStringLiteral("prepare by :"), 13, false, this));
    body()->addWidget(tahoma(QStringLiteral("Tim Sektira Kelordan - Bidang Aplikasi Informatika, Dinas Komunikasi dan Informatika"), 15, false, this));
    body()->addSpacing(12);
    Label18 = tahoma(QString(), 15, true, this);
    Label18->setObjectName(QStringLiteral("Label18"));
    body()->addWidget(Label18);
    body()->addStretch(2);
}
