#include "desktop/TMprisRoot.h"

#include "about/OEMPConst.h"
#include "desktop/TMprisService.h"
#include "desktop/TPlayerControl.h"

TMprisRoot::TMprisRoot(TMprisService &service) : QDBusAbstractAdaptor(&service), service_(service) { }

QString TMprisRoot::Identity() const
{
    return QString::fromLatin1(OEMPConst::ProductName);
}

QString TMprisRoot::DesktopEntry() const
{
    return QString::fromLatin1(OEMPConst::ApplicationId);
}

QStringList TMprisRoot::SupportedMimeTypes() const
{
    // The kinds the search looks for (wave, MP3, AVI and movie files), named as the desktop
    // entry names them.
    return {QStringLiteral("audio/x-wav"),    QStringLiteral("audio/wav"),       QStringLiteral("audio/vnd.wave"),
            QStringLiteral("audio/mpeg"),     QStringLiteral("video/x-msvideo"), QStringLiteral("video/avi"),
            QStringLiteral("video/quicktime")};
}

void TMprisRoot::Raise()
{
    service_.Later([](TPlayerControl &player) { player.Raise(); });
}

void TMprisRoot::Quit()
{
    service_.Control([](TPlayerControl &player) { player.Quit(); });
}
