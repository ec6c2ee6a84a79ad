#include "pageheader.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

PageHeader::PageHeader(QWidget* parent, const QString& objectName) : QWidget(parent)
{
    setObjectName(objectName);
    setFixedHeight(32);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void PageHeader::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void PageHeader::setColors(const QColor& start, const QColor& end)
{
    start_ = start;
    end_ = end;
    update();
}

void PageHeader::setHeaderHeight(int h)
{
    setFixedHeight(h);
}

void PageHeader::setFontSize(int points)
{
    fontSize_ = points;
    update();
}

void PageHeader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, start_);
    g.setColorAt(1, end_);
    p.fillRect(rect(), g);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(fontSize_);
    f.setBold(true);
    const QRect area = rect().adjusted(10, 0, -10, 0);
    // A caption with a long name shrinks to fit a narrow header (down to
    // 9 points) rather than losing its end; past that it is elided.
    while (f.pointSize() > 9 && QFontMetrics(f).horizontalAdvance(caption_) > area.width())
        f.setPointSize(f.pointSize() - 1);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(f).elidedText(caption_, Qt::ElideRight, area.width()));
}
