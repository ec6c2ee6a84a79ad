#pragma once

#include <QAbstractButton>

// An on/off switch: a rounded track with a sliding knob and the state's
// caption ("On"/"Off") beside it. A checkable button underneath: click,
// Space and setChecked() switch it; toggled() reports the change.
class ToggleSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    // The colour of the track while on.
    void setOnColor(const QColor& colour);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The whole widget is the button, caption included.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    QSize trackSize() const;

    QColor onColor_;
};
