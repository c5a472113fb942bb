#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// SIGTERM (the session ends), SIGHUP (the terminal is gone) and SIGINT (Ctrl+C) end the player
// as a close does that no one can answer. While this object lives, the first of them runs the
// given save on the user-interface thread, at the next turn of whatever event loop runs there
// (the window's, a box's, a search's), and then ends the process with status 0. The handler
// itself only writes to a pipe. A second SIGINT or SIGTERM before the end ends the process at
// once; further SIGHUPs change nothing.
class TTerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TTerminationSignals(std::function<void()> save);
    ~TTerminationSignals() override;
    TTerminationSignals(const TTerminationSignals &) = delete;
    TTerminationSignals &operator=(const TTerminationSignals &) = delete;

private:
    void SaveAndEnd();

    std::function<void()> save_;
    QSocketNotifier *notifier_ = nullptr;
};
