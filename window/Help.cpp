#include "window/Help.h"

#include "about/InternetLinks.h"

#include <QFileInfo>
#include <QUrl>

void ShowHelp(TUserDialogs &dialogs, const QString &helpFile, int)
{
    if (QFileInfo(helpFile).isFile())
        InternetLinks::OpenLink(dialogs, QUrl::fromLocalFile(helpFile).toEncoded());
}
