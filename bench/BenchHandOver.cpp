// Files handed to a running player from outside, the player and its second starts being the
// real program on a private session bus: a second start with one file, to the end of that
// process and to the file playing in the running player (beside a bare Qt program's start to
// end); one call with 10,000 files, to the first of them playing (beside the same call
// refused at once); and a second start with an M3U8 of 10,000 files, to its first playing.
// Run on a display: xvfb-run -a build-test/bench/bench_handover PLAYER BARE

#include "Medians.h"
#include "SilentWave.h"
#include "TPrivateBus.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString PlayerService = QStringLiteral("example.ostrel.MediaPlayer");

double Milliseconds(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

bool WaitFor(const std::function<bool()> &done, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

// When the player, as this client hears it, last started playing another track, and which.
class TTrackWatch : public QObject {
    Q_OBJECT

public:
    TTrackWatch(QDBusConnection &client, const QElapsedTimer &clock) : clock_(clock)
    {
        client.connect(QString(), QStringLiteral("/org/mpris/MediaPlayer2"),
                       QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"), this,
                       SLOT(Changed(QString, QVariantMap, QStringList)));
    }
    QString Url;
    double At = -1;

public slots:
    void Changed(const QString &, const QVariantMap &changed, const QStringList &)
    {
        const QVariant metadata = changed.value(QStringLiteral("Metadata"));
        if (!metadata.canConvert<QDBusArgument>())
            return;
        Url = qdbus_cast<QVariantMap>(metadata.value<QDBusArgument>()).value(QStringLiteral("xesam:url")).toString();
        At = Milliseconds(clock_);
    }

private:
    const QElapsedTimer &clock_;
};

QString UrlOf(const QByteArray &file)
{
    return QUrl::fromLocalFile(QFile::decodeName(file)).toString(QUrl::FullyEncoded);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PLAYER BARE_START\n", argv[0]);
        return 2;
    }
    qDBusRegisterMetaType<QList<QByteArray>>();
    // The programs run in a folder of their own.
    const QString player = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString bare = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    TPrivateBus bus;
    QTemporaryDir work;
    QFile(work.filePath("default-List.oml")).open(QIODevice::WriteOnly); // no box for a missing list
    constexpr int Singles = 20, Bulk = 10000, BulkRuns = 5;
    const QByteArray wave = SilentWave(100);
    QList<QByteArray> files;
    for (int i = 0; i < Singles + Bulk * BulkRuns; ++i) {
        QFile file(work.filePath(QStringLiteral("%1.wav").arg(i)));
        file.open(QIODevice::WriteOnly);
        file.write(wave);
        files << QFile::encodeName(file.fileName());
    }
    QProcessEnvironment environment = bus.Environment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    const auto start = [&](QProcess &process, const QString &program, const QStringList &arguments) {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(work.path());
        process.start(program, arguments);
    };
    QProcess running;
    start(running, player, {});
    QDBusConnection client = bus.Connect(QStringLiteral("bench"));
    QElapsedTimer clock;
    TTrackWatch watch(client, clock);
    if (!WaitFor([&] { return client.interface()->isServiceRegistered(PlayerService).value(); }, 10000)) {
        std::fprintf(stderr, "the player did not come up on the bus\n");
        return 1;
    }

    std::vector<double> bareStarts, ends, shown;
    for (int i = 0; i < Singles; ++i) {
        QProcess floor;
        clock.start();
        start(floor, bare, {});
        WaitFor([&] { return floor.state() == QProcess::NotRunning; }, 10000);
        bareStarts.push_back(Milliseconds(clock));

        QProcess second;
        double ended = -1;
        QObject::connect(&second, &QProcess::finished, [&] { ended = Milliseconds(clock); });
        clock.start();
        start(second, player, {QFile::decodeName(files[i])});
        if (!WaitFor([&] { return ended >= 0 && watch.Url == UrlOf(files[i]); }, 10000) || second.exitCode() != 0) {
            std::fprintf(stderr, "second start %d: the hand-over did not complete\n", i);
            return 1;
        }
        ends.push_back(ended);
        shown.push_back(watch.At);
    }

    std::vector<double> bulk, refused;
    for (int run = 0; run < BulkRuns; ++run) {
        const QList<QByteArray> batch = files.mid(Singles + run * Bulk, Bulk);
        const auto call = [&](const char *method) {
            QDBusMessage message = QDBusMessage::createMethodCall(
                PlayerService, QStringLiteral("/example/ostrel/MediaPlayer"),
                QStringLiteral("example.ostrel.MediaPlayer.HandOver"), QLatin1String(method));
            message << QVariant::fromValue(batch) << QByteArray("/");
            return client.asyncCall(message, 10000);
        };
        clock.start();
        QDBusPendingCall answer = call("NoSuchMethod");
        answer.waitForFinished();
        refused.push_back(Milliseconds(clock));

        clock.start();
        call("Open");
        if (!WaitFor([&] { return watch.Url == UrlOf(batch.first()); }, 20000)) {
            std::fprintf(stderr, "bulk %d: the first file did not play\n", run);
            return 1;
        }
        bulk.push_back(watch.At);
    }

    // "ostrel list.m3u8": another player's playlist of 10,000 of them (in another order, so
    // that its first has not played yet) handed over by a second start.
    std::vector<double> playlists;
    for (int run = 0; run < BulkRuns; ++run) {
        QList<QByteArray> batch = files.mid(Singles + run * Bulk, Bulk);
        std::reverse(batch.begin(), batch.end());
        const QString list = work.filePath(QStringLiteral("list%1.m3u8").arg(run));
        QFile file(list);
        file.open(QIODevice::WriteOnly);
        file.write("#EXTM3U\n" + batch.join('\n') + '\n');
        file.close();
        QProcess second;
        clock.start();
        start(second, player, {list});
        if (!WaitFor([&] { return watch.Url == UrlOf(batch.first()); }, 20000)) {
            std::fprintf(stderr, "playlist %d: the first entry did not play\n", run);
            return 1;
        }
        playlists.push_back(watch.At);
        second.waitForFinished(10000);
    }

    QDBusMessage quit = QDBusMessage::createMethodCall(
        QStringLiteral("org.mpris.MediaPlayer2.ostrel"), QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit"));
    client.call(quit);
    running.waitForFinished(20000);

    std::printf("bare Qt program, start to end: median %.1f ms\n", Median(bareStarts));
    std::printf("second start with a file, start to end: median %.1f ms (%.2f x bare)\n", Median(ends),
                Median(ends) / Median(bareStarts));
    std::printf("second start with a file, start to the file playing: median %.1f ms (%.2f x bare)\n", Median(shown),
                Median(shown) / Median(bareStarts));
    std::printf("the 10,000 names in a call refused at once: median %.1f ms\n", Median(refused));
    std::printf("10,000 files in one call, to the first playing: median %.1f ms (%.2f x refused)\n", Median(bulk),
                Median(bulk) / Median(refused));
    std::printf("a second start with an M3U8 of 10,000 files, to its first playing: median %.1f ms (%.2f x bare start)\n",
                Median(playlists), Median(playlists) / Median(bareStarts));
    return 0;
}

#include "BenchHandOver.moc"
