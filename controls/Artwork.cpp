#include "Artwork.h"

#include <QString>

// The pictures live in a static library, whose resources are registered only on request.
static void RegisterArtwork()
{
    Q_INIT_RESOURCE(ostrel);
}

QImage Artwork(const char *name)
{
    static const bool registered = (RegisterArtwork(), true);
    Q_UNUSED(registered);
    return QImage(QStringLiteral(":/images/%1.png").arg(QLatin1String(name)));
}
