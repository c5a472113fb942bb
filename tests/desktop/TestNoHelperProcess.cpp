#include "TDesktopFixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QUuid>
#include <csignal>

namespace {

// Processes other than `except` whose environment holds the text.
QStringList ProcessesCarrying(const QByteArray &text, qint64 except)
{
    QStringList found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == except)
            continue;
        QFile environment(QStringLiteral("/proc/%1/environ").arg(pid));
        if (!environment.open(QIODevice::ReadOnly) || !environment.readAll().contains(text))
            continue;
        QFile command(QStringLiteral("/proc/%1/comm").arg(pid));
        command.open(QIODevice::ReadOnly);
        found << QString::fromUtf8(command.readAll().trimmed());
    }
    return found;
}

using TNoHelperProcessTest = TDesktopFixture;

TEST_F(TNoHelperProcessTest, WithoutASessionBusThePlayerStartsNoHelperAndPrintsNothing)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-launch")).isEmpty())
        GTEST_SKIP() << "dbus-launch is not installed, so the toolkit could not start it either";
    const QByteArray mark = "OSTREL_HELPER_MARK=" + QUuid::createUuid().toByteArray(QUuid::Id128);
    QDir(folder.path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(folder.path() + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    environment.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("DISPLAY"));
    environment.insert(QStringLiteral("HOME"), folder.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path() + "/config");
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path() + "/runtime");
    environment.insert(QString::fromLatin1(mark.split('=')[0]), QString::fromLatin1(mark.split('=')[1]));
    QProcess player;
    player.setProcessEnvironment(environment);
    player.setWorkingDirectory(folder.path());
    player.start(QStringLiteral(OSTREL_PLAYER), {});
    ASSERT_TRUE(player.waitForStarted());
    QTest::qWait(2500); // the window and its first message box are up by then
    EXPECT_EQ(player.state(), QProcess::Running);
    const QStringList helpers = ProcessesCarrying(mark, player.processId());
    ::kill(pid_t(player.processId()), SIGTERM);
    player.waitForFinished(3000);
    EXPECT_TRUE(helpers.isEmpty()) << helpers.join(' ').toStdString();
    EXPECT_EQ(player.readAllStandardError(), QByteArray());
    EXPECT_EQ(player.readAllStandardOutput(), QByteArray());
}

} // namespace
