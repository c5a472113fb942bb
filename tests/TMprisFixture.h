#pragma once

#include "TPrivateBus.h"
#include "TScriptedFormFixture.h"
#include "desktop/TMprisService.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QTest>

// The main window over the scripted back end, offered on a private bus, and a client of
// that bus on a connection of its own, as a desktop's media controls would be.
class TMprisFixture : public TScriptedFormFixture {
protected:
    static constexpr const char *Service = "org.mpris.MediaPlayer2.ostrel";
    static constexpr const char *PlayerInterface = "org.mpris.MediaPlayer2.Player";
    static constexpr const char *RootInterface = "org.mpris.MediaPlayer2";

    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
        service = std::make_unique<TMprisService>(form->PlayerControl(), bus.Connect(QStringLiteral("player")));
        client = std::make_unique<QDBusConnection>(bus.Connect(QStringLiteral("client")));
        ASSERT_TRUE(client->isConnected());
    }
    void TearDown() override
    {
        service.reset();
        client.reset();
        TScriptedFormFixture::TearDown();
    }

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
    static void RunPending()
    {
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    TPrivateBus bus;
    std::unique_ptr<TMprisService> service;
    std::unique_ptr<QDBusConnection> client;
};
