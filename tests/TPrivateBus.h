#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// A session bus of the test's own: a dbus-daemon started for it and ended with it, so that
// no desktop's bus is touched and every test starts from an empty bus.
class TPrivateBus {
public:
    TPrivateBus()
    {
        daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted(5000))
            return;
        while (!daemon_.canReadLine() && daemon_.waitForReadyRead(5000)) { }
        address_ = QString::fromUtf8(daemon_.readLine().trimmed());
    }
    ~TPrivateBus()
    {
        for (const QString &name : names_)
            QDBusConnection::disconnectFromBus(name);
        daemon_.terminate();
        daemon_.waitForFinished(3000);
    }
    TPrivateBus(const TPrivateBus &) = delete;
    TPrivateBus &operator=(const TPrivateBus &) = delete;

    QString Address() const { return address_; }
    // A connection of its own, as another process would have.
    QDBusConnection Connect(const QString &name)
    {
        names_ << name;
        return QDBusConnection::connectToBus(address_, name);
    }
    // The environment in which a child process finds this bus as its session bus.
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
        return environment;
    }

private:
    QProcess daemon_;
    QString address_;
    QStringList names_;
};
