#include "about/AboutButtonFace.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

constexpr int FaceWidth = 108;
constexpr int FaceHeight = 25;
const QColor Plate(0xb4, 0xb4, 0xb4);
const QColor Rim(0x60, 0x60, 0x60);

void DrawEnvelope(QPainter &painter)
{
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(18.5, 7.5, 16, 10));
    const QPointF flap[] = {{18.5, 7.5}, {26.5, 13.0}, {34.5, 7.5}};
    painter.drawPolyline(flap, 3);
}

} // namespace

QImage AboutButtonFace(const QString &caption, TAboutButtonMark mark, qreal devicePixelRatio)
{
    const qreal ratio = std::max<qreal>(devicePixelRatio, 1);
    QImage face(int(std::ceil(FaceWidth * ratio)), int(std::ceil(FaceHeight * ratio)), QImage::Format_ARGB32_Premultiplied);
    face.setDevicePixelRatio(ratio);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QPen(Rim, 1.0));
    painter.setBrush(Plate);
    painter.drawRoundedRect(QRectF(1.5, 1.5, FaceWidth - 3, FaceHeight - 3), 9, 9);

    QFont type(QStringLiteral("Liberation Sans"));
    type.setPixelSize(13);
    type.setBold(true);
    type.setHintingPreference(QFont::PreferFullHinting);
    painter.setFont(type);
    painter.setPen(Qt::black);
    QRectF room(0, 0, FaceWidth, FaceHeight);
    if (mark == TAboutButtonMark::Envelope) {
        DrawEnvelope(painter);
        room.setLeft(18); // the caption moves right of the envelope
    }
    painter.drawText(room, Qt::AlignCenter, caption);
    return face;
}
