#include "device/VideoWindowIdentity.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <algorithm>
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

// The display's connection on X11; none elsewhere (offscreen too offers the interface).
xcb_connection_t *X11Connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The windows claimed, for raising them later; the engine keeps a window from one video to
// the next.
std::vector<xcb_window_t> &Claimed()
{
    static std::vector<xcb_window_t> claimed;
    return claimed;
}

void Claim(xcb_connection_t *connection, xcb_window_t window, const QByteArray &applicationId)
{
    if (std::find(Claimed().begin(), Claimed().end(), window) == Claimed().end())
        Claimed().push_back(window);
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
    xcb_connection_t *connection = X11Connection();
    if (!connection || applicationId.isEmpty())
        return;
    for (xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection)); screen.rem;
         xcb_screen_next(&screen))
        ClaimBelow(connection, screen.data->root, applicationId, 2);
    xcb_flush(connection);
}

void RaiseVideoWindows()
{
    xcb_connection_t *connection = X11Connection();
    if (!connection)
        return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t active = Atom(connection, "_NET_ACTIVE_WINDOW");
    std::vector<xcb_window_t> &claimed = Claimed();
    // Gone windows are forgotten; a window's id is not given out again while others are free.
    claimed.erase(std::remove_if(claimed.begin(), claimed.end(),
                                 [&](xcb_window_t window) {
                                     xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
                                         connection, xcb_get_window_attributes(connection, window), nullptr);
                                     const bool gone = attributes == nullptr;
                                     std::free(attributes);
                                     return gone;
                                 }),
                  claimed.end());
    for (const xcb_window_t window : claimed) {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        // A window manager raises and focuses on request, source 1 being an application.
        xcb_client_message_event_t request{};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = window;
        request.type = active;
        request.data.data32[0] = 1;
        request.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&request));
    }
    xcb_flush(connection);
}
