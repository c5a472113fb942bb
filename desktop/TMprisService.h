#pragma once

#include "desktop/TMprisState.h"

#include <QDBusConnection>
#include <QObject>
#include <functional>

class TFormMediaPlayer;

// Offers the main window to desktop media controls and media keys on a bus (MPRIS2). It
// reaches the window only through its overridable operations and its state. Without a bus,
// or when the bus refuses the name, it stays idle and silent.
class TMprisService : public QObject {
    Q_OBJECT

public:
    static constexpr const char *ObjectPath = "/org/mpris/MediaPlayer2";

    TMprisService(TFormMediaPlayer &form, const QDBusConnection &bus);
    ~TMprisService() override;

    // The name the player goes by on the bus; empty when it is not on one.
    QString ServiceName() const { return serviceName_; }
    TFormMediaPlayer &Form() const { return form_; }
    QDBusConnection Bus() const { return bus_; }
    // The state the controls were last told of.
    const TMprisState &State() const { return state_; }

    // The call is answered first; the operation runs right after, on this thread, as a
    // click would. Nothing runs while a box or dialog of the player is open or a search
    // runs, since a click on the covered window would do nothing either.
    void Control(std::function<void()> operation);
    // Tells the controls which of their properties changed since they were last told.
    void Refresh();

private:
    bool Covered() const;
    void RunControl(const std::function<void()> &operation);
    void Offer();

    TFormMediaPlayer &form_;
    QDBusConnection bus_;
    QString serviceName_;
    TMprisState state_;
};
