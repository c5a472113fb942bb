#include "controls/TOEButton.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace {

// To assistive technologies the picture is a push button whose press action clicks it.
class TAccessibleButton : public QAccessibleWidget {
public:
    explicit TAccessibleButton(TOEButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        auto *button = static_cast<TOEButton *>(widget());
        if (action == pressAction() && button->OnClick)
            button->OnClick(button);
    }
};

QAccessibleInterface *AccessibleButton(const QString &className, QObject *object)
{
    if (className == QLatin1String("TOEButton") && object->isWidgetType())
        return new TAccessibleButton(static_cast<TOEButton *>(object));
    return nullptr;
}

} // namespace

TOEButton::TOEButton(QWidget *parent)
    : QWidget(parent)
{
    static const bool accessible = (QAccessible::installFactory(AccessibleButton), true);
    Q_UNUSED(accessible);
    resize(105, 105);
    setFocusPolicy(Qt::NoFocus);
    OnMouseDown = [this](TOEButton *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
        PressPicture(sender, button, shift, x, y);
    };
    OnMouseUp = [this](TOEButton *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
        ReleasePicture(sender, button, shift, x, y);
    };
}

void TOEButton::SetPicture(const QImage &picture)
{
    picture_ = picture;
    PictureChanged();
}

void TOEButton::SetHint(const QString &hint)
{
    setToolTip(hint);
    setAccessibleName(hint);
}

void TOEButton::SetStretch(bool stretch)
{
    stretch_ = stretch;
    update();
}

void TOEButton::SetCenter(bool center)
{
    center_ = center;
    update();
}

void TOEButton::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    PictureChanged();
}

void TOEButton::SetAlign(TAlign align)
{
    if (parentWidget() && align_ != align) {
        if (align == alClient)
            parentWidget()->installEventFilter(this);
        else
            parentWidget()->removeEventFilter(this);
    }
    align_ = align;
    Realign();
}

void TOEButton::SetLeft(int left)
{
    SetBounds(left, y(), width(), height());
}

void TOEButton::SetTop(int top)
{
    SetBounds(x(), top, width(), height());
}

void TOEButton::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
    Realign();
}

void TOEButton::PressPicture(TOEButton *, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    SetLeft(Left() + 1);
    SetTop(Top() + 1);
}

void TOEButton::ReleasePicture(TOEButton *, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    SetLeft(Left() - 1);
    SetTop(Top() - 1);
}

void TOEButton::PictureChanged()
{
    if (picture_.isNull()) {
        face_ = QPixmap();
    } else if (transparent_) {
        // The transparent colour is the bottom-left pixel's, as for any transparent bitmap.
        QImage cut = picture_.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = cut.pixel(0, cut.height() - 1);
        for (int row = 0; row < cut.height(); ++row) {
            auto *line = reinterpret_cast<QRgb *>(cut.scanLine(row));
            for (int column = 0; column < cut.width(); ++column)
                if (line[column] == key)
                    line[column] = qRgba(0, 0, 0, 0);
        }
        face_ = QPixmap::fromImage(cut);
    } else {
        face_ = QPixmap::fromImage(picture_);
    }
    update();
}

QRect TOEButton::DestinationRect() const
{
    if (stretch_)
        return rect();
    const QSize size = face_.deviceIndependentSize().toSize();
    if (center_)
        return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    return QRect(QPoint(0, 0), size);
}

void TOEButton::paintEvent(QPaintEvent *)
{
    if (face_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(DestinationRect(), face_);
}

void TOEButton::RaiseMouse(const TMouseEvent &handler, QMouseEvent *event)
{
    if (handler) {
        const QPoint at = event->position().toPoint();
        handler(this, event->button(), event->modifiers(), at.x(), at.y());
    }
}

void TOEButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        clickBegun_ = true;
    RaiseMouse(OnMouseDown, event);
}

void TOEButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click begins no click of its own.
    RaiseMouse(OnMouseDown, event);
}

void TOEButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = event->button() == Qt::LeftButton && clickBegun_
                       && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        clickBegun_ = false;
    if (click && OnClick)
        OnClick(this);
    RaiseMouse(OnMouseUp, event);
}

bool TOEButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        Realign();
    return QWidget::eventFilter(watched, event);
}

void TOEButton::Realign()
{
    if (align_ == alClient && parentWidget())
        setGeometry(parentWidget()->contentsRect());
}
