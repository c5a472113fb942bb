#include "desktop/TMprisService.h"

#include "app/TOstrelApplication.h"
#include "desktop/TMprisPlayer.h"
#include "desktop/TMprisRoot.h"
#include "window/TFormMediaPlayer.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <unistd.h>

namespace {

const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString BaseName = QStringLiteral("org.mpris.MediaPlayer2.ostrel");

} // namespace

TMprisService::TMprisService(TFormMediaPlayer &form, const QDBusConnection &bus) : form_(form), bus_(bus)
{
    new TMprisRoot(*this);
    new TMprisPlayer(*this);
    if (bus_.isConnected())
        Offer();
}

TMprisService::~TMprisService()
{
    if (serviceName_.isEmpty())
        return;
    bus_.unregisterService(serviceName_);
    bus_.unregisterObject(QLatin1String(ObjectPath));
}

void TMprisService::Offer()
{
    if (!bus_.registerObject(QLatin1String(ObjectPath), this))
        return;
    // A second player on the same desktop takes the form the controls expect of instances.
    for (const QString &name : {BaseName, BaseName + QStringLiteral(".instance%1").arg(::getpid())}) {
        if (bus_.registerService(name)) {
            serviceName_ = name;
            break;
        }
    }
    if (serviceName_.isEmpty()) {
        bus_.unregisterObject(QLatin1String(ObjectPath));
        return;
    }
    state_ = TMprisState::Of(form_);
    connect(&form_, &TFormMediaPlayer::StateMayHaveChanged, this, &TMprisService::Refresh);
}

bool TMprisService::Covered() const
{
    return QApplication::activeModalWidget() != nullptr || form_.Searching();
}

void TMprisService::Control(std::function<void()> operation)
{
    if (Covered())
        return;
    QMetaObject::invokeMethod(
        this, [this, operation = std::move(operation)] { RunControl(operation); }, Qt::QueuedConnection);
}

void TMprisService::RunControl(const std::function<void()> &operation)
{
    if (Covered())
        return;
    Guarded(operation);
    Refresh();
}

void TMprisService::Refresh()
{
    if (serviceName_.isEmpty())
        return;
    TMprisState now = TMprisState::Of(form_);
    const QVariantMap changed = now.ChangedSince(state_);
    state_ = std::move(now);
    if (changed.isEmpty())
        return;
    QDBusMessage signal
        = QDBusMessage::createSignal(QLatin1String(ObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                     QStringLiteral("PropertiesChanged"));
    signal << PlayerInterface << changed << QStringList();
    bus_.send(signal);
}
