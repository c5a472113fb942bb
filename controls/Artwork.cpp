#include "controls/Artwork.h"

#include <QString>

// The pictures live in a static library, whose resources are registered only on request.
static void RegisterArtwork()
{
    Q_INIT_RESOURCE(ostrel);
}

QImage Artwork(const char *name, qreal devicePixelRatio)
{
    static const bool registered = (RegisterArtwork(), true);
    Q_UNUSED(registered);
    if (devicePixelRatio > 1) {
        QImage twice(QStringLiteral(":/images/%1@2x.png").arg(QLatin1String(name)));
        if (!twice.isNull()) {
            twice.setDevicePixelRatio(2);
            return twice;
        }
    }
    return QImage(QStringLiteral(":/images/%1.png").arg(QLatin1String(name)));
}
