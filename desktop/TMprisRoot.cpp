#include "desktop/TMprisRoot.h"

#include "about/OEMPConst.h"
#include "desktop/TMprisService.h"
#include "desktop/TPlayerControl.h"
#include "medialist/MediaTypes.h"

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
    // The media and playlists the player opens, as the desktop entry names them.
    return MediaMimeTypes();
}

void TMprisRoot::Raise()
{
    service_.Later([](TPlayerControl &player) { player.Raise(); });
}

void TMprisRoot::Quit()
{
    service_.Control([](TPlayerControl &player) { player.Quit(); });
}
