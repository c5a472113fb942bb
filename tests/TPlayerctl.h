#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>

// playerctl's answer about the player "ostrel" on the bus of the given environment, its
// standard output and error trimmed; the player answers it from this thread meanwhile.
inline QString Playerctl(const QProcessEnvironment &bus, const QStringList &arguments)
{
    QProcess playerctl;
    playerctl.setProcessEnvironment(bus);
    playerctl.start(QStringLiteral("playerctl"), QStringList{QStringLiteral("--player=ostrel")} + arguments);
    const QDeadlineTimer deadline(10000);
    while (playerctl.state() != QProcess::NotRunning && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    playerctl.waitForFinished(100);
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    return QString::fromUtf8(playerctl.readAllStandardOutput() + playerctl.readAllStandardError()).trimmed();
}
