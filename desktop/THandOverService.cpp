#include "desktop/THandOverService.h"

#include "about/OEMPConst.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace {

QString ServiceName()
{
    return QString::fromLatin1(OEMPConst::ApplicationId);
}

// Names travel as arrays of bytes ("aay"): a name need not be UTF-8.
void RegisterNameLists()
{
    qDBusRegisterMetaType<QList<QByteArray>>();
}

// Long enough for a player that is busy at that moment; a player that answers nothing
// for this long is taken as gone.
constexpr int AnswerTimeoutMs = 5000;

} // namespace

THandOverService::THandOverService(TPlayerControl &player, const QDBusConnection &bus) : player_(&player), bus_(bus)
{
    RegisterNameLists();
    if (!bus_.isConnected()
        || !bus_.registerObject(QLatin1String(ObjectPath), this, QDBusConnection::ExportScriptableSlots))
        return;
    // Queued behind a player that holds the name, so that the name passes on when it ends.
    bus_.interface()->registerService(ServiceName(), QDBusConnectionInterface::QueueService,
                                      QDBusConnectionInterface::DontAllowReplacement);
    offered_ = true;
}

THandOverService::~THandOverService()
{
    if (!offered_)
        return;
    bus_.unregisterService(ServiceName());
    bus_.unregisterObject(QLatin1String(ObjectPath));
}

void THandOverService::Open(const QList<QByteArray> &names, const QByteArray &workingFolder)
{
    // Answered first: the adding may show a box, and the caller is waiting to end.
    QMetaObject::invokeMethod(
        this,
        [this, handOver = HandOverOf(names, workingFolder)] {
            if (TPlayerControl *player = player_.data()) {
                player->Open(handOver, true);
                player->Raise();
            }
        },
        Qt::QueuedConnection);
}

bool HandOverToRunningPlayer(const QList<QByteArray> &names, const QByteArray &workingFolder)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    RegisterNameLists();
    QDBusMessage call
        = QDBusMessage::createMethodCall(ServiceName(), QLatin1String(THandOverService::ObjectPath),
                                         QLatin1String(THandOverService::Interface), QStringLiteral("Open"));
    call.setAutoStartService(false);
    call << QVariant::fromValue(names) << workingFolder;
    return bus.call(call, QDBus::Block, AnswerTimeoutMs).type() == QDBusMessage::ReplyMessage;
}
