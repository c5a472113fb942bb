#pragma once

#include "SilentWave.h"
#include "TDesktopFixture.h"
#include "TPlayerctl.h"
#include "TPrivateBus.h"
#include "TXWindows.h"

#include <QDBusMessage>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

inline QByteArray Entry(bool played, const QString &path)
{
    return (played ? "1\r\n" : "0\r\n") + QFile::encodeName(path) + "\r\n";
}

// The installed program, started and handed files as a desktop would.
class TRunningPlayerFixture : public TDesktopFixture {
protected:
    void SetUp() override
    {
        TDesktopFixture::SetUp();
        if (IsSkipped())
            return;
        ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
        ASSERT_TRUE(QDir(folder.path()).mkpath("media/sub"));
        for (const char *name : {"media/one.wav", "media/two.wav", "media/three.wav", "media/sub/four.wav"})
            folder.WriteFile(name, SilentWave(30000));
        folder.WriteFile("media/sub/notes.txt", "");
    }
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = bus.Environment();
        environment.insert(QStringLiteral("HOME"), folder.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path() + "/config");
        return environment;
    }
    void Start(QProcess &player, const QStringList &arguments)
    {
        player.setProcessEnvironment(Environment());
        player.setWorkingDirectory(folder.path());
        player.start(QStringLiteral(OSTREL_PLAYER), arguments);
        ASSERT_TRUE(player.waitForStarted());
    }
    QString Ask(const QStringList &arguments) { return Playerctl(bus.Environment(), arguments); }
    QString AskUntil(const QStringList &arguments, const QString &expected)
    {
        QString answer;
        (void)QTest::qWaitFor([&] { return (answer = Ask(arguments)) == expected; }, 8000);
        return answer;
    }
    QString Url(const char *relative)
    {
        return QUrl::fromLocalFile(folder.File(relative)).toString(QUrl::FullyEncoded);
    }
    // Quits the player as the media controls do; true once it has ended with status 0.
    bool Quit(QProcess &player)
    {
        bus.Connect(QStringLiteral("quitting"))
            .call(QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.ostrel", "/org/mpris/MediaPlayer2",
                                                 "org.mpris.MediaPlayer2", "Quit"));
        return player.waitForFinished(5000) && player.exitCode() == 0;
    }
    QStringList MainWindows() { return windows.MappedCaptions().filter(QRegularExpression("^Ostrel Media Player - ")); }

    TPrivateBus bus;
    TXWindows windows;
};
