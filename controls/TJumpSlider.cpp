#include "controls/TJumpSlider.h"

#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>

TJumpSlider::TJumpSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // A drag tells its value once, when the handle is let go.
    setTracking(false);
    connect(this, &QSlider::valueChanged, this, &TJumpSlider::Chosen);
}

void TJumpSlider::Show(int value, int minimum, int maximum)
{
    if (isSliderDown() || choosing_)
        return;
    const QSignalBlocker quiet(this);
    setRange(minimum, maximum);
    setValue(value);
}

int TJumpSlider::ValueAt(const QPoint &point) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const int offset = point.x() - groove.x() - handle.width() / 2;
    return QStyle::sliderValueFromPosition(minimum(), maximum(), offset, std::max(span, 1), option.upsideDown);
}

void TJumpSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        if (!handle.contains(event->position().toPoint())) {
            // What the value chosen sets off may show the old value again before the handle
            // is held: the handle stays where the click put it.
            choosing_ = true;
            setValue(ValueAt(event->position().toPoint()));
            choosing_ = false;
        }
    }
    // The handle is under the pointer now: Qt's own handling starts a drag from there.
    QSlider::mousePressEvent(event);
}

QSize TJumpSlider::sizeHint() const
{
    QSize hint = QSlider::sizeHint();
    if (preferredWidth_ > 0)
        hint.setWidth(preferredWidth_);
    return hint;
}
