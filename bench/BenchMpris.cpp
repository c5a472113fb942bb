// Desktop media controls over a private bus: how long from a PlayPause call to the status
// change it causes arriving back at the caller, with the real window and engine.

#include "Medians.h"
#include "TPrivateBus.h"
#include "TQuietDialogs.h"
#include "errorreport/TOstrelApplication.h"
#include "controls/TOECheckListBox.h"
#include "desktop/TMprisService.h"
#include "window/TFormMediaPlayer.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The playback status each PropertiesChanged brings, as it reaches the client.
class TStatusWatch : public QObject {
    Q_OBJECT

public:
    explicit TStatusWatch(QDBusConnection &client)
    {
        client.connect(QString(), QLatin1String(TMprisService::ObjectPath),
                       QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"), this,
                       SLOT(Changed(QString, QVariantMap, QStringList)));
    }
    QString Status;

public slots:
    void Changed(const QString &, const QVariantMap &changed, const QStringList &)
    {
        if (changed.contains(QStringLiteral("PlaybackStatus")))
            Status = changed.value(QStringLiteral("PlaybackStatus")).toString();
    }
};

// Milliseconds from the call to the status it should cause, or -1 when it did not come.
double PlayPause(QDBusConnection &client, TStatusWatch &watch, const QString &expected)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.mpris.MediaPlayer2.ostrel"), QLatin1String(TMprisService::ObjectPath),
        QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("PlayPause"));
    const auto start = Clock::now();
    client.asyncCall(call);
    const QDeadlineTimer deadline(2000);
    while (watch.Status != expected && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    if (watch.Status != expected)
        return -1;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    QDir::setCurrent(folder.path());
    TOstrelApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    TQuietDialogs dialogs;
    application.SetDialogs(dialogs);
    TPrivateBus bus;
    if (bus.Address().isEmpty()) {
        std::fprintf(stderr, "dbus-daemon did not start\n");
        return 1;
    }
    auto form = CreateFormMediaPlayer();
    form->lbFiles->Append(QList<QByteArray>{BENCH_DATA "/three-minutes.mp3"});
    form->lbFiles->SetItemIndex(0);
    TMprisService service(form->PlayerControl(), bus.Connect(QStringLiteral("player")));
    QDBusConnection client = bus.Connect(QStringLiteral("client"));
    TStatusWatch watch(client);

    std::printf("PlayPause from stopped (opens the file): %.2f ms\n",
                PlayPause(client, watch, QStringLiteral("Playing")));
    std::vector<double> pauses, resumes;
    for (int round = 0; round < 50; ++round) {
        QTest::qWait(30);
        pauses.push_back(PlayPause(client, watch, QStringLiteral("Paused")));
        QTest::qWait(30);
        resumes.push_back(PlayPause(client, watch, QStringLiteral("Playing")));
    }
    if (std::count(pauses.begin(), pauses.end(), -1.0) + std::count(resumes.begin(), resumes.end(), -1.0) > 0)
        std::printf("some status changes did not arrive\n");
    std::printf("PlayPause to \"Paused\" arriving: median %.3f ms, max %.3f ms over %zu\n", Median(pauses),
                *std::max_element(pauses.begin(), pauses.end()), pauses.size());
    std::printf("PlayPause to \"Playing\" arriving: median %.3f ms, max %.3f ms over %zu\n", Median(resumes),
                *std::max_element(resumes.begin(), resumes.end()), resumes.size());
    return 0;
}

#include "BenchMpris.moc"
