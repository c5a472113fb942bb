#pragma once

#include "TMprisClient.h"
#include "TPrivateBus.h"
#include "TScriptedFormFixture.h"

#include <QTest>

// The main window over the scripted back end, offered on a private bus, and a client of
// that bus.
class TMprisFixture : public TScriptedFormFixture, protected TMprisClient {
protected:
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

    TPrivateBus bus;
    std::unique_ptr<TMprisService> service;
};
