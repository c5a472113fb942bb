#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

struct xcb_connection_t;

// The top-level windows of the X display, as a window manager sees them.
class TXWindows {
public:
    TXWindows();
    ~TXWindows();
    bool IsConnected() const { return connection_ != nullptr; }

    // The first mapped window whose caption (_NET_WM_NAME, else WM_NAME) is the text; 0 if none.
    uint32_t FindMapped(const QString &caption);
    // The captions of all mapped windows, in stacking order.
    QStringList MappedCaptions();
    // The window's place on the screen and its size.
    QRect Geometry(uint32_t window);
    // What xprop prints of the window's property, as a window manager would read it.
    static QString Xprop(uint32_t window, const char *property);
    // What a window manager's close button sends: WM_DELETE_WINDOW.
    void RequestClose(uint32_t window);
    // The colour of the window's middle pixel as 0xRRGGBB, or -1 when it cannot be read.
    int64_t MiddlePixel(uint32_t window);
    // The colour of the pixel at that share of the window's width and height.
    int64_t Pixel(uint32_t window, double across, double down);

private:
    uint32_t Atom(const char *name);
    QString Caption(uint32_t window);
    // Visits the mapped windows down to the depth until the visitor says it has found one.
    uint32_t Search(uint32_t window, int depth, const std::function<bool(uint32_t, const QString &)> &found);

    xcb_connection_t *connection_ = nullptr;
    uint32_t root_ = 0;
};
