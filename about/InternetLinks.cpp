#include "about/InternetLinks.h"

#include "dialogs/TUserDialogs.h"

#include <QDesktopServices>
#include <QUrl>

namespace InternetLinks {

namespace {

TLinkOpener &CurrentOpener()
{
    static TLinkOpener opener;
    return opener;
}

void OpenWithDesktop(const QByteArray &link)
{
    QDesktopServices::openUrl(QUrl::fromEncoded(link));
}

} // namespace

void OpenLink(TUserDialogs &dialogs, const QByteArray &link)
{
    try {
        if (CurrentOpener())
            CurrentOpener()(link);
        else
            OpenWithDesktop(link);
    } catch (const std::exception &error) {
        dialogs.ShowError(QString::fromUtf8(error.what()));
    }
}

void SetLinkOpener(TLinkOpener opener)
{
    CurrentOpener() = std::move(opener);
}

} // namespace InternetLinks
