#include "toggleswitch.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

namespace {

const QString kOn = QStringLiteral("On");
const QString kOff = QStringLiteral("Off");
constexpr int kGap = 6;

} // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent) : QAbstractButton(parent), onColor_(0x2E, 0x9E, 0x4F)
{
    setCheckable(true);
    setChecked(false);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Screen readers and tests read the state as text.
    connect(this, &QAbstractButton::toggled, this, [this](bool on) { setText(on ? kOn : kOff); });
    setText(kOff);
}

void ToggleSwitch::setOnColor(const QColor& colour)
{
    onColor_ = colour;
    update();
}

QSize ToggleSwitch::trackSize() const
{
    // Scales with the font: the knob is a little taller than a line of text.
    const int h = fontMetrics().height() + 6;
    return {h * 2, h};
}

QSize ToggleSwitch::sizeHint() const
{
    const QSize track = trackSize();
    const int caption = std::max(fontMetrics().horizontalAdvance(kOn), fontMetrics().horizontalAdvance(kOff));
    return {track.width() + kGap + caption + 4, track.height() + 4};
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QSize ts = trackSize();
    const QRectF track(2, (height() - ts.height()) / 2.0, ts.width(), ts.height());
    const qreal radius = track.height() / 2.0;
    const bool on = isChecked();

    QColor fill = on ? onColor_ : palette().color(QPalette::Mid);
    if (!isEnabled())
        fill = fill.lighter(140);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(track, radius, radius);

    const qreal knobD = track.height() - 4;
    const qreal knobX = on ? track.right() - 2 - knobD : track.left() + 2;
    p.setBrush(Qt::white);
    p.setPen(QPen(fill.darker(120), 1));
    p.drawEllipse(QRectF(knobX, track.top() + 2, knobD, knobD));

    const QRect caption(int(track.right()) + kGap, 0, width() - int(track.right()) - kGap, height());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(caption, Qt::AlignVCenter | Qt::AlignLeft, on ? kOn : kOff);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = track.toAlignedRect().adjusted(-2, -2, 2, 2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}
