#pragma once

#include "desktop/TMprisService.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <memory>

// A client of the player's bus on a connection of its own, as a desktop's media controls
// would be.
class TMprisClient {
protected:
    static constexpr const char *Service = "org.mpris.MediaPlayer2.ostrel";
    static constexpr const char *PlayerInterface = "org.mpris.MediaPlayer2.Player";
    static constexpr const char *RootInterface = "org.mpris.MediaPlayer2";

    // A method call as a client makes it; the operation it asks for has run on return.
    QDBusMessage Call(const char *interface, const char *method, const QVariantList &arguments = {})
    {
        QDBusMessage message
            = QDBusMessage::createMethodCall(QLatin1String(Service), QLatin1String(TMprisService::ObjectPath),
                                             QLatin1String(interface), QLatin1String(method));
        message.setArguments(arguments);
        const QDBusMessage reply = client->call(message, QDBus::BlockWithGui);
        RunPending();
        return reply;
    }
    QDBusMessage CallPlayer(const char *method, const QVariantList &arguments = {})
    {
        return Call(PlayerInterface, method, arguments);
    }
    QVariant Property(const char *name, const char *interface = PlayerInterface)
    {
        const QDBusMessage reply
            = Call("org.freedesktop.DBus.Properties", "Get", {QLatin1String(interface), QLatin1String(name)});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return QVariant();
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    QDBusMessage SetProperty(const char *name, const QVariant &value)
    {
        return Call("org.freedesktop.DBus.Properties", "Set",
                    {QLatin1String(PlayerInterface), QLatin1String(name), QVariant::fromValue(QDBusVariant(value))});
    }
    // Metadata as it arrives: a map inside a D-Bus argument.
    static QVariantMap AsMap(const QVariant &value)
    {
        return value.canConvert<QDBusArgument>() ? qdbus_cast<QVariantMap>(value.value<QDBusArgument>())
                                                 : value.toMap();
    }
    QVariantMap Metadata() { return AsMap(Property("Metadata")); }
    static QString ErrorName(const QDBusMessage &reply)
    {
        return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : QStringLiteral("<no error>");
    }
    static void RunPending()
    {
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    std::unique_ptr<QDBusConnection> client;
};

// Every PropertiesChanged of the player's interface and every Seeked that reaches a client.
class TChangeRecorder : public QObject {
    Q_OBJECT

public:
    explicit TChangeRecorder(QDBusConnection &client)
    {
        client.connect(QString(), QLatin1String(TMprisService::ObjectPath),
                       QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"), this,
                       SLOT(Changed(QString, QVariantMap, QStringList)));
        client.connect(QString(), QLatin1String(TMprisService::ObjectPath),
                       QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Seeked"), this,
                       SLOT(Seek(qlonglong)));
        // The bus takes the match rules without a reply; a round trip behind them makes sure
        // they hold before the test sets off the first change.
        client.call(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
    }

    // Generous: other tests, some of them heavy, run beside these.
    static constexpr int WaitMs = 5000;

    QList<QVariantMap> Changes;
    QList<qlonglong> Seeks;

    // Waits until the number of changes arrived, or the wait is up.
    bool WaitFor(qsizetype count)
    {
        const QDeadlineTimer deadline(WaitMs);
        while (Changes.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return Changes.size() >= count;
    }
    bool WaitForSeek()
    {
        const QDeadlineTimer deadline(WaitMs);
        while (Seeks.isEmpty() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return !Seeks.isEmpty();
    }

public slots:
    void Changed(const QString &interface, const QVariantMap &changed, const QStringList &)
    {
        if (interface == QLatin1String("org.mpris.MediaPlayer2.Player"))
            Changes << changed;
    }
    void Seek(qlonglong position) { Seeks << position; }
};
