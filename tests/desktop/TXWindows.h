#pragma once

#include <QString>
#include <cstdint>

struct xcb_connection_t;

// The top-level windows of the X display, as a window manager sees them.
class TXWindows {
public:
    TXWindows();
    ~TXWindows();
    bool IsConnected() const { return connection_ != nullptr; }

    // The first mapped window whose caption (_NET_WM_NAME, else WM_NAME) is the text; 0 if none.
    uint32_t FindMapped(const QString &caption);
    // What a window manager's close button sends: WM_DELETE_WINDOW.
    void RequestClose(uint32_t window);
    // The colour of the window's middle pixel as 0xRRGGBB, or -1 when it cannot be read.
    int64_t MiddlePixel(uint32_t window);

private:
    uint32_t Atom(const char *name);
    QString Caption(uint32_t window);
    uint32_t Search(uint32_t window, const QString &caption, int depth);

    xcb_connection_t *connection_ = nullptr;
    uint32_t root_ = 0;
};
