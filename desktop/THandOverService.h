#pragma once

#include "desktop/TPlayerControl.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>

// The player's own way in for files handed over by a second start of the program (a file
// manager's Open With, "ostrel FILE..."): on the session bus, under the application id, so
// that only this user's own programs reach it. Without a bus, or while another player of this
// user holds the name, it stays idle; it takes the name over when that player ends.
class THandOverService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "example.ostrel.MediaPlayer.HandOver")

public:
    static constexpr const char *ObjectPath = "/example/ostrel/MediaPlayer";
    static constexpr const char *Interface = "example.ostrel.MediaPlayer.HandOver";

    THandOverService(TPlayerControl &player, const QDBusConnection &bus);
    ~THandOverService() override;

public slots:
    // Names and file:// URIs as a command line gives them, relative names against the
    // caller's working folder: added, the first played, the window raised. The call is
    // answered at once; the adding waits while the window is covered.
    Q_SCRIPTABLE void Open(const QList<QByteArray> &names, const QByteArray &workingFolder);

private:
    QPointer<TPlayerControl> player_;
    QDBusConnection bus_;
    bool offered_ = false;
};

// Hands the names to the player of this user that runs on the session bus: true once it has
// taken them, false when none runs (or there is no bus), so that this process plays them.
bool HandOverToRunningPlayer(const QList<QByteArray> &names, const QByteArray &workingFolder);
