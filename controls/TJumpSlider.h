#pragma once

#include <QSlider>

// A horizontal slider that a click moves to the clicked point at once, as in every player,
// instead of a page towards it; from there the handle can be dragged on. The value it was
// set to by the user is told by `Chosen`; values set by code are not.
class TJumpSlider : public QSlider {
    Q_OBJECT

public:
    explicit TJumpSlider(QWidget *parent = nullptr);

    // Shows a value within a range without telling it as chosen; ignored while the user holds
    // the handle.
    void Show(int value, int minimum, int maximum);
    // The width a layout gives it when there is room; it still shrinks to its minimum.
    void SetPreferredWidth(int width) { preferredWidth_ = width; updateGeometry(); }
    QSize sizeHint() const override;

signals:
    // A click, the end of a drag, or a key chose the value.
    void Chosen(int value);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    int ValueAt(const QPoint &point) const;

    bool choosing_ = false;
    int preferredWidth_ = 0;
};
