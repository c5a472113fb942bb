#pragma once

#include "desktop/TMprisState.h"
#include "desktop/TPlayerControl.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <functional>

// Offers the player to desktop media controls and media keys on a bus (MPRIS2), through the
// player's control interface alone. Without a bus, or when the bus refuses the name, it stays
// idle and silent; once the player is gone it leaves the bus.
class TMprisService : public QObject {
    Q_OBJECT

public:
    static constexpr const char *ObjectPath = "/org/mpris/MediaPlayer2";

    TMprisService(TPlayerControl &player, const QDBusConnection &bus);
    ~TMprisService() override;

    // The name the player goes by on the bus; empty when it is not on one.
    QString ServiceName() const { return serviceName_; }
    QDBusConnection Bus() const { return bus_; }
    // The player, or nullptr once it is gone.
    TPlayerControl *Player() const { return player_; }
    // The state the controls were last told of.
    const TMprisState &State() const { return state_; }
    // The player's state now; that of an empty player once it is gone.
    TMprisState CurrentState() const;

    // The call is answered first; the operation runs right after, on this thread. Nothing
    // runs while the player takes no commands (a box, a dialog or a search covers it) or
    // once it is gone.
    void Control(std::function<void(TPlayerControl &)> operation);
    // Runs on the next turn whether or not the player takes commands; not once it is gone.
    void Later(std::function<void(TPlayerControl &)> operation);
    // Tells the controls which of their properties changed since they were last told.
    void Refresh();

private:
    bool Covered() const;
    void Offer();
    void Withdraw();

    QPointer<TPlayerControl> player_;
    QDBusConnection bus_;
    QString serviceName_;
    TMprisState state_;
};
