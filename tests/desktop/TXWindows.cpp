#include "TXWindows.h"

#include <QProcess>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

TXWindows::TXWindows()
{
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return;
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

TXWindows::~TXWindows()
{
    if (connection_)
        xcb_disconnect(connection_);
}

uint32_t TXWindows::Atom(const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, uint16_t(std::strlen(name)), name), nullptr);
    const uint32_t atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

QString TXWindows::Caption(uint32_t window)
{
    for (const uint32_t property : {Atom("_NET_WM_NAME"), uint32_t(XCB_ATOM_WM_NAME)}) {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr);
        if (!reply)
            continue;
        const QString text = QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply)),
                                               xcb_get_property_value_length(reply));
        std::free(reply);
        if (!text.isEmpty())
            return text;
    }
    return {};
}

uint32_t TXWindows::Search(uint32_t window, int depth, const std::function<bool(uint32_t, const QString &)> &found)
{
    xcb_get_window_attributes_reply_t *attributes
        = xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr);
    const bool mapped = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    if (mapped && window != root_ && found(window, Caption(window)))
        return window;
    if (depth == 0)
        return 0;
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
    if (!tree)
        return 0;
    uint32_t match = 0;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && match == 0; ++i)
        match = Search(children[i], depth - 1, found);
    std::free(tree);
    return match;
}

uint32_t TXWindows::FindMapped(const QString &caption)
{
    if (!connection_)
        return 0;
    return Search(root_, 2, [&](uint32_t, const QString &text) { return text == caption; });
}

QStringList TXWindows::MappedCaptions()
{
    QStringList captions;
    if (connection_)
        Search(root_, 2, [&](uint32_t, const QString &text) {
            if (!text.isEmpty())
                captions << text;
            return false;
        });
    return captions;
}

QRect TXWindows::Geometry(uint32_t window)
{
    xcb_translate_coordinates_reply_t *place = xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr);
    xcb_get_geometry_reply_t *size
        = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
    const QRect geometry = place && size ? QRect(place->dst_x, place->dst_y, size->width, size->height) : QRect();
    std::free(place);
    std::free(size);
    return geometry;
}

QString TXWindows::Xprop(uint32_t window, const char *property)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-id", QString::number(window), QString::fromLatin1(property)});
    xprop.waitForFinished(5000);
    return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
}

void TXWindows::RequestClose(uint32_t window)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom("WM_PROTOCOLS");
    event.data.data32[0] = Atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    xcb_flush(connection_);
}

int64_t TXWindows::MiddlePixel(uint32_t window)
{
    return Pixel(window, 0.5, 0.5);
}

int64_t TXWindows::Pixel(uint32_t window, double across, double down)
{
    xcb_get_geometry_reply_t *geometry
        = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
    if (!geometry)
        return -1;
    const auto x = int16_t(geometry->width * across), y = int16_t(geometry->height * down);
    std::free(geometry);
    xcb_get_image_reply_t *image = xcb_get_image_reply(
        connection_, xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, x, y, 1, 1, ~0u), nullptr);
    if (!image)
        return -1;
    int64_t pixel = -1;
    if (xcb_get_image_data_length(image) >= 4) {
        const uint8_t *bytes = xcb_get_image_data(image);
        pixel = (int64_t(bytes[2]) << 16) | (int64_t(bytes[1]) << 8) | bytes[0];
    }
    std::free(image);
    return pixel;
}
