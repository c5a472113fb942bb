#include "TDesktopSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    End(display_);
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
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        return QStringLiteral("Xvfb is not installed");
    int pipe[2];
    if (::pipe(pipe) != 0)
        return QStringLiteral("no pipe for Xvfb's display number");
    display_ = std::make_unique<QProcess>();
    display_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const int writeEnd = pipe[1];
    display_->setChildProcessModifier([writeEnd] { ::fcntl(writeEnd, F_SETFD, 0); });
    display_->start(xvfb, {QStringLiteral("-displayfd"), QString::number(writeEnd), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")});
    ::close(writeEnd);
    QByteArray number;
    char c;
    while (::read(pipe[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(pipe[0]);
    if (number.isEmpty()) {
        End(display_);
        return QStringLiteral("Xvfb did not start");
    }
    qputenv("DISPLAY", ":" + number);
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
