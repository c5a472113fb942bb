// Linked into a program to report, on standard output, the monotonic clock in nanoseconds
// at the moment its first window is exposed. Where the driver hands it a pipe as descriptor 3, a line
// read from there asks every shown window to close, as the window manager's close would.

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int CloseRequests = 3;

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

void CloseShownWindows()
{
    char line[16];
    if (::read(CloseRequests, line, sizeof line) <= 0)
        return;
    for (QWindow *window : QGuiApplication::topLevelWindows())
        if (window->isVisible())
            window->close();
}

void InstallProbe()
{
    QCoreApplication::instance()->installEventFilter(new TFirstExposeProbe);
    struct stat requests { };
    if (::fstat(CloseRequests, &requests) == 0 && S_ISFIFO(requests.st_mode)) {
        auto *notifier = new QSocketNotifier(CloseRequests, QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { CloseShownWindows(); });
    }
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
