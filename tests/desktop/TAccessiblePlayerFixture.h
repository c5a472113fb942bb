#pragma once

#include "TRunningPlayerFixture.h"

// The installed program on the test's own X server and session bus, with the accessibility
// bus a desktop session starts, read and driven by a script of AT-SPI calls.
class TAccessiblePlayerFixture : public TRunningPlayerFixture {
protected:
    void TearDown() override
    {
        registry.terminate();
        registry.waitForFinished(3000);
        TRunningPlayerFixture::TearDown();
    }
    QProcessEnvironment AccessibleEnvironment() const
    {
        QProcessEnvironment environment = Environment();
        environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        return environment;
    }
    void StartAccessiblePlayer()
    {
        registry.setProcessEnvironment(AccessibleEnvironment());
        registry.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"});
        ASSERT_TRUE(registry.waitForStarted());
        player.setProcessEnvironment(AccessibleEnvironment());
        player.setWorkingDirectory(folder.path());
        player.start(QStringLiteral(OSTREL_PLAYER), {});
        ASSERT_TRUE(player.waitForStarted());
    }
    // Runs the script of this folder to its end.
    void RunScript(QProcess &reader, const char *script, const QStringList &arguments = {})
    {
        reader.setProcessEnvironment(AccessibleEnvironment());
        reader.start("/usr/bin/python3",
                     QStringList{QStringLiteral(SOURCE_DIR "/tests/desktop/") + QLatin1String(script)} + arguments);
        ASSERT_TRUE(reader.waitForFinished(30000));
    }

    QProcess registry;
    QProcess player;
};
