// Linked into a program to report, on standard output, the monotonic clock in nanoseconds
// at the moment its first window is exposed.

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdio>
#include <ctime>

namespace {

class TFirstExposeProbe : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::instance()->removeEventFilter(this);
            }
        }
        return false;
    }
};

void InstallProbe()
{
    QCoreApplication::instance()->installEventFilter(new TFirstExposeProbe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
