#include "sidebar.h"

#include <QFrame>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QColor kHeaderStart(0x99, 0x32, 0xCC);
const QColor kBorder(0xD6, 0xDF, 0xF7);
} // namespace

namespace {
// The style sheet's left and right padding of an item.
constexpr int kItemPadding = 24;
} // namespace

SideBarItem::SideBarItem(const QString& caption, QWidget* parent) : QPushButton(caption, parent), caption_(caption)
{
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(15);
    setFont(f);
    setStyleSheet(QStringLiteral(
        "SideBarItem { text-align: left; padding: 4px 12px; border: none; color: #0051E7;"
        " background: transparent; }"
        "SideBarItem:hover { text-decoration: underline; color: #003BA8; }"
        "SideBarItem:disabled { color: #7A7A7A; }"));
}

void SideBarItem::setCaption(const QString& caption)
{
    caption_ = caption;
    elide();
}

QSize SideBarItem::sizeHint() const
{
    // As wide as the caption, but the bar's width decides: the caption gives
    // way, never the bar.
    const QSize full = QPushButton::sizeHint();
    return {std::min(full.width(), 120), full.height()};
}

QSize SideBarItem::minimumSizeHint() const
{
    return {kItemPadding, QPushButton::sizeHint().height()};
}

void SideBarItem::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    elide();
}

void SideBarItem::elide()
{
    const QString shown = fontMetrics().elidedText(caption_, Qt::ElideRight, std::max(width() - kItemPadding, 0));
    if (shown != text())
        setText(shown);
    setToolTip(shown != caption_ ? caption_ : QString());
}

SideBarGroup::SideBarGroup(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption)
{
    setObjectName(objectName);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, HeaderHeight, 1, 1);
    outer->setSpacing(0);
    body_ = new QWidget(this);
    body_->setObjectName(objectName + QStringLiteral("Body"));
    body_->setAutoFillBackground(true);
    QPalette pal = body_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    body_->setPalette(pal);
    bodyLayout_ = new QVBoxLayout(body_);
    bodyLayout_->setContentsMargins(0, 4, 0, 4);
    bodyLayout_->setSpacing(0);
    outer->addWidget(body_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

SideBarItem* SideBarGroup::addItem(const QString& caption, std::function<void()> handler)
{
    auto* item = new SideBarItem(caption, body_);
    item->setObjectName(objectName() + QStringLiteral("Items") + QString::number(items_.size()));
    if (!items_.empty()) {
        auto* line = new QFrame(body_);
        line->setFrameShape(QFrame::HLine);
        line->setFixedHeight(1);
        line->setStyleSheet(QStringLiteral("color: #DCDCDC; background: #DCDCDC; margin: 0 8px;"));
        bodyLayout_->addWidget(line);
    }
    bodyLayout_->addWidget(item);
    if (handler)
        connect(item, &QPushButton::clicked, this, [h = std::move(handler)] { h(); });
    items_.push_back(item);
    return item;
}

void SideBarGroup::setCollapsed(bool collapsed)
{
    collapsed_ = collapsed;
    body_->setVisible(!collapsed);
    update();
}

void SideBarGroup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF head(0.5, 0.5, width() - 1.0, HeaderHeight);
    QPainterPath path;
    path.addRoundedRect(head.adjusted(0, 0, 0, 6), 6, 6);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, kHeaderStart);
    g.setColorAt(1, Qt::white);
    p.fillPath(path, g);
    p.setPen(kBorder);
    p.drawRect(QRectF(0.5, HeaderHeight, width() - 1.0, height() - HeaderHeight - 1.0));

    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    const QRectF captionArea(12, 0, std::max(width() - 44, 0), HeaderHeight);
    p.drawText(captionArea, Qt::AlignVCenter | Qt::AlignLeft,
               QFontMetrics(f).elidedText(caption_, Qt::ElideRight, int(captionArea.width())));

    // Collapse chevron in a small circle.
    const QPointF c(width() - 20.0, HeaderHeight / 2.0);
    p.setPen(QPen(QColor(0x99, 0x32, 0xCC), 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 8, 8);
    QPainterPath chevron;
    const double d = collapsed_ ? 1 : -1;
    chevron.moveTo(c.x() - 4, c.y() - 2 * d);
    chevron.lineTo(c.x(), c.y() + 2 * d);
    chevron.lineTo(c.x() + 4, c.y() - 2 * d);
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
}

void SideBarGroup::mousePressEvent(QMouseEvent* event)
{
    if (event->position().y() <= HeaderHeight) {
        setCollapsed(!collapsed_);
        emit toggledByUser();
    }
    QWidget::mousePressEvent(event);
}
