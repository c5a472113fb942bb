#include "device/VideoWindowIdentity.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

// The engine's own class name of its video windows.
constexpr char EngineClass[] = "mpv";

xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply
        = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

QByteArray Property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    QByteArray value;
    if (reply)
        value = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    std::free(reply);
    return value;
}

// _NET_WM_ICON: for each size, its width and height, then its pixels as ARGB.
std::vector<uint32_t> IconData()
{
    std::vector<uint32_t> data;
    const QIcon icon = QGuiApplication::windowIcon();
    for (const int size : {16, 32, 48, 64}) {
        const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            continue;
        data.push_back(uint32_t(image.width()));
        data.push_back(uint32_t(image.height()));
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const uint32_t *>(image.constScanLine(y));
            data.insert(data.end(), line, line + image.width());
        }
    }
    return data;
}

bool IsEngineWindowOfThisProcess(xcb_connection_t *connection, xcb_window_t window, const QByteArray &instance)
{
    const QByteArray wmClass = Property(connection, window, XCB_ATOM_WM_CLASS);
    if (wmClass != instance + '\0' + EngineClass + '\0')
        return false;
    const QByteArray pid = Property(connection, window, Atom(connection, "_NET_WM_PID"));
    uint32_t owner = 0;
    if (pid.size() == sizeof owner)
        std::memcpy(&owner, pid.constData(), sizeof owner);
    return owner == uint32_t(::getpid());
}

void Claim(xcb_connection_t *connection, xcb_window_t window, const QByteArray &applicationId)
{
    const QByteArray wmClass = applicationId + '\0' + applicationId + '\0';
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        uint32_t(wmClass.size()), wmClass.constData());
    const std::vector<uint32_t> icon = IconData();
    if (!icon.empty())
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Atom(connection, "_NET_WM_ICON"),
                            XCB_ATOM_CARDINAL, 32, uint32_t(icon.size()), icon.data());
}

// The engine's windows are the root's children, or a window manager's frames' children.
void ClaimBelow(xcb_connection_t *connection, xcb_window_t parent, const QByteArray &applicationId, int depth)
{
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
    if (!tree)
        return;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        if (IsEngineWindowOfThisProcess(connection, children[i], applicationId))
            Claim(connection, children[i], applicationId);
        else if (depth > 1)
            ClaimBelow(connection, children[i], applicationId, depth - 1);
    }
    std::free(tree);
}

} // namespace

void ClaimVideoWindows(const QByteArray &applicationId)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || applicationId.isEmpty())
        return;
    xcb_connection_t *connection = x11->connection();
    for (xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection)); screen.rem;
         xcb_screen_next(&screen))
        ClaimBelow(connection, screen.data->root, applicationId, 2);
    xcb_flush(connection);
}
