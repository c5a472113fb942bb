#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <memory>

// A private X server on a display number of its own choosing.
class TXvfbServer {
public:
    ~TXvfbServer() { Stop(); }

    // Empty when it runs; otherwise why not.
    QString Start();
    void Stop();
    // ":N" while it runs.
    QByteArray Display() const { return display_; }

private:
    std::unique_ptr<QProcess> server_;
    QByteArray display_;
};
