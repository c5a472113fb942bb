#include "TXvfbServer.h"

#include <QStandardPaths>
#include <fcntl.h>
#include <unistd.h>

QString TXvfbServer::Start()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        return QStringLiteral("Xvfb is not installed");
    int pipe[2];
    if (::pipe(pipe) != 0)
        return QStringLiteral("no pipe for Xvfb's display number");
    server_ = std::make_unique<QProcess>();
    server_->setStandardErrorFile(QProcess::nullDevice()); // it reports each display number it tries
    const int writeEnd = pipe[1];
    server_->setChildProcessModifier([writeEnd] { ::fcntl(writeEnd, F_SETFD, 0); });
    server_->start(xvfb, {QStringLiteral("-displayfd"), QString::number(writeEnd), QStringLiteral("-screen"),
                          QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                          QStringLiteral("tcp")});
    ::close(writeEnd);
    QByteArray number;
    char c;
    while (::read(pipe[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(pipe[0]);
    if (number.isEmpty()) {
        Stop();
        return QStringLiteral("Xvfb did not start");
    }
    display_ = ":" + number;
    return {};
}

void TXvfbServer::Stop()
{
    display_.clear();
    if (!server_)
        return;
    server_->kill();
    server_->waitForFinished(3000);
    server_.reset();
}
