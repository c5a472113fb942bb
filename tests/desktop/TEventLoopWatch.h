#pragma once

#include <QElapsedTimer>
#include <QTimer>

// The longest time the event loop went without running a 10 ms timer: how long the
// user-interface thread was blocked at worst while the watch lived.
class TEventLoopWatch {
public:
    TEventLoopWatch()
    {
        clock_.start();
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, clock_.restart());
        });
        timer_.start();
    }
    qint64 Longest() const { return std::max(longest_, clock_.elapsed()); }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};
