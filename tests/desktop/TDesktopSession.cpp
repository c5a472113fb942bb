#include "TDesktopSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <sys/stat.h>

namespace {

void End(std::unique_ptr<QProcess> &process)
{
    if (!process)
        return;
    process->terminate();
    if (!process->waitForFinished(3000))
        process->kill();
    process->waitForFinished(3000);
    process.reset();
}

} // namespace

TDesktopSession::TDesktopSession() = default;

TDesktopSession::~TDesktopSession()
{
    End(sound_);
}

QString TDesktopSession::Start()
{
    if (!runtime_.isValid())
        return QStringLiteral("no temporary folder");
    ::chmod(QFile::encodeName(runtime_.path()).constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    if (const QString why = StartDisplay(); !why.isEmpty())
        return why;
    StartSound(); // without sound the tests that need it say so themselves
    return {};
}

QString TDesktopSession::StartDisplay()
{
    if (const QString why = display_.Start(); !why.isEmpty())
        return why;
    qputenv("DISPLAY", display_.Display());
    return {};
}

QString TDesktopSession::StartSound()
{
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (pulseaudio.isEmpty())
        return QStringLiteral("PulseAudio is not installed");
    const QString socket = runtime_.path() + QStringLiteral("/pulse/native");
    sound_ = std::make_unique<QProcess>();
    sound_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sound_->setStandardOutputFile(QProcess::nullDevice());
    // Nor may the sound server start a session bus on the display, which the player would find.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    sound_->setProcessEnvironment(environment);
    sound_->start(pulseaudio, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                               QStringLiteral("--disable-shm=yes"), QStringLiteral("--log-level=0"),
                               QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=ostrel_null"),
                               QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix socket=") + socket});
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(socket) && clock.elapsed() < 5000 && sound_->state() != QProcess::NotRunning)
        QThread::msleep(20);
    if (!QFile::exists(socket)) {
        End(sound_);
        return QStringLiteral("PulseAudio did not start");
    }
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    return {};
}

std::unique_ptr<QProcess> TDesktopSession::StartRecording(const QString &file) const
{
    auto recorder = std::make_unique<QProcess>();
    recorder->setStandardOutputFile(file);
    recorder->start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("ostrel_null.monitor"),
                                               QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                                               QStringLiteral("--rate=%1").arg(RecordingRate),
                                               QStringLiteral("--latency-msec=10"), QStringLiteral("--raw")});
    recorder->waitForStarted();
    return recorder;
}
