#include "desktop/TMprisService.h"

#include "desktop/TMprisPlayer.h"
#include "desktop/TMprisRoot.h"
#include "desktop/TPlayerControl.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <unistd.h>

namespace {

const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString BaseName = QStringLiteral("org.mpris.MediaPlayer2.ostrel");

} // namespace

TMprisService::TMprisService(TPlayerControl &player, const QDBusConnection &bus) : player_(&player), bus_(bus)
{
    new TMprisRoot(*this);
    new TMprisPlayer(*this);
    connect(&player, &QObject::destroyed, this, &TMprisService::Withdraw);
    if (bus_.isConnected())
        Offer();
}

TMprisService::~TMprisService()
{
    Withdraw();
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
    state_ = CurrentState();
    connect(player_, &TPlayerControl::StateMayHaveChanged, this, &TMprisService::Refresh);
}

void TMprisService::Withdraw()
{
    if (serviceName_.isEmpty())
        return;
    bus_.unregisterService(std::exchange(serviceName_, QString()));
    bus_.unregisterObject(QLatin1String(ObjectPath));
}

TMprisState TMprisService::CurrentState() const
{
    const TPlayerControl *player = player_.data();
    return player ? TMprisState::Of(*player) : TMprisState();
}

bool TMprisService::Covered() const
{
    const TPlayerControl *player = player_.data();
    return !player || !player->AcceptsCommands();
}

void TMprisService::Control(std::function<void(TPlayerControl &)> operation)
{
    if (Covered())
        return;
    QMetaObject::invokeMethod(
        this,
        [this, operation = std::move(operation)] {
            if (Covered())
                return;
            operation(*player_.data());
            Refresh();
        },
        Qt::QueuedConnection);
}

void TMprisService::Later(std::function<void(TPlayerControl &)> operation)
{
    QMetaObject::invokeMethod(
        this,
        [this, operation = std::move(operation)] {
            if (TPlayerControl *player = player_.data())
                operation(*player);
        },
        Qt::QueuedConnection);
}

void TMprisService::Refresh()
{
    if (serviceName_.isEmpty())
        return;
    TMprisState now = CurrentState();
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
