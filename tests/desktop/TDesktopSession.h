#pragma once

#include "TXvfbServer.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A private X server (Xvfb) and a private sound server (PulseAudio with one null sink) for
// tests that need the real thing. Starting it points DISPLAY, XDG_RUNTIME_DIR and
// PULSE_SERVER of this process at them; the destructor ends both.
class TDesktopSession {
public:
    TDesktopSession();
    ~TDesktopSession();

    // Empty when both run; otherwise why not.
    QString Start();
    bool HasSound() const { return sound_ != nullptr; }
    // Records what the null sink plays, as 16-bit mono samples at RecordingRate.
    std::unique_ptr<QProcess> StartRecording(const QString &file) const;

    static constexpr int RecordingRate = 44100;

private:
    QString StartDisplay();
    QString StartSound();

    QTemporaryDir runtime_;
    TXvfbServer display_;
    std::unique_ptr<QProcess> sound_;
};
