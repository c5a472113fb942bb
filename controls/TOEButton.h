#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>

enum TAlign { alNone, alClient };

// A picture that acts as a push button: no caption, border, focus frame or hover look.
// The only feedback of a press is that the whole control moves one pixel right and down
// while a mouse button is held.
class TOEButton : public QWidget {
    Q_OBJECT

public:
    using TMouseEvent = std::function<void(TOEButton *sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, int x, int y)>;
    using TNotifyEvent = std::function<void(QObject *sender)>;

    explicit TOEButton(QWidget *parent = nullptr);

    TNotifyEvent OnClick;
    // Bound to PressPicture and ReleasePicture by the constructor; replacing them
    // replaces the press effect.
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

    // A picture with a device pixel ratio above 1 is drawn at its size in logical pixels.
    const QImage &Picture() const { return picture_; }
    void SetPicture(const QImage &picture);
    // The tooltip, which is also the name a screen reader gives the button.
    QString Hint() const { return toolTip(); }
    void SetHint(const QString &hint);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    int Left() const { return x(); }
    int Top() const { return y(); }
    // An aligned button is put back in its aligned place after every move.
    void SetLeft(int left);
    void SetTop(int top);
    void SetBounds(int left, int top, int width, int height);

    virtual void PressPicture(TOEButton *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                              int x, int y);
    virtual void ReleasePicture(TOEButton *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void PictureChanged();
    QRect DestinationRect() const;
    void Realign();
    void RaiseMouse(const TMouseEvent &handler, QMouseEvent *event);

    QImage picture_;
    QPixmap face_; // the picture as drawn, with the transparent colour cut out
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
    TAlign align_ = alNone;
    bool clickBegun_ = false;
};
