#pragma once

#include "device/TMediaBackEnd.h"

#include <QObject>
#include <functional>
#include <memory>
#include <stdexcept>

class QWidget;

enum TDeviceMode : uint8_t { dmNotReady, dmStopped, dmPlaying, dmRecording, dmSeeking, dmPaused, dmOpen };
enum TDeviceNotifyValue : uint8_t { dnSuccessful, dnSuperseded, dnAborted, dnFailure };
enum TMPDeviceTypes : uint8_t {
    dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther,
    dtOverlay, dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};
// The kinds of the device's own button bar, which this player never shows.
enum TMPBtnType : uint8_t { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };

// The media device's only exception: a message text.
class EMCIDeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The media device: at most one open medium, driven through a back end. Open, Close, Stop
// and Pause run to their end; Play and Resume return at once. Wait and Notify are one-shot
// requests for the next command that honours them.
class TMediaPlayer : public QObject {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(QObject *sender)>;

    explicit TMediaPlayer(std::unique_ptr<TMediaBackEnd> backEnd, QObject *parent = nullptr);
    // Closes an open medium, which stops its playback.
    ~TMediaPlayer() override;

    QByteArray FileName() const { return fileName_; }
    void SetFileName(const QByteArray &fileName) { fileName_ = fileName; }
    TMPDeviceTypes DeviceType() const { return deviceType_; }
    void SetDeviceType(TMPDeviceTypes type) { deviceType_ = type; }
    bool Shareable() const { return shareable_; }
    void SetShareable(bool shareable) { shareable_ = shareable; }
    bool AutoOpen() const { return autoOpen_; }
    void SetAutoOpen(bool autoOpen) { autoOpen_ = autoOpen; }
    bool AutoRewind() const { return autoRewind_; }
    void SetAutoRewind(bool autoRewind) { autoRewind_ = autoRewind; }
    QWidget *Display() const { return display_; }
    void SetDisplay(QWidget *display) { display_ = display; }
    bool Opened() const { return opened_; }
    uint16_t DeviceID() const { return deviceId_; }
    bool Wait() const { return wait_; }
    void SetWait(bool wait);
    bool Notify() const { return notify_; }
    void SetNotify(bool notify);
    void SetStartPos(uint32_t milliseconds);
    void SetEndPos(uint32_t milliseconds);
    uint32_t Error() const { return error_; }
    TDeviceNotifyValue NotifyValue() const { return notifyValue_; }
    TNotifyEvent OnNotify;

    // Opens FileName when AutoOpen is set; the owner calls it once its design values are in.
    void Loaded();

    void Open();
    void Play();
    void Pause();
    void Resume();
    void Stop();
    void Close();
    void Rewind();
    TDeviceMode Mode();
    QString ErrorMessage() const;
    // The open medium's position and length in milliseconds; 0 where the engine knows none yet.
    uint32_t Position();
    uint32_t Length();
    // The open medium's tags as read when it opened, each one line of at most 1,000
    // characters; empty while none is open.
    TMediaTags Tags() const { return tags_; }
    // Moves the open medium; raises EMCIDeviceError when none is open.
    void Seek(uint32_t milliseconds);
    // The engine's volume, 0.0 to 1.0 (values outside are clamped); it is not stored.
    double Volume() const { return backEnd_->Volume(); }
    void SetVolume(double volume) { backEnd_->SetVolume(volume); }
    void SetEvenLoudness(bool on) { backEnd_->SetEvenLoudness(on); }
    // See TMediaBackEnd::HandAhead; with no medium open, or when the engine refuses the
    // element, nothing is handed ahead and nothing is reported.
    void HandAhead(const QByteArray &element);

signals:
    // After each completion notice, once NotifyValue is set and OnNotify has run.
    void Notified();
    // The user closed the back end's own video window.
    void WindowCloseRequested();
    // A playback key was pressed in that window.
    void VideoKeyPressed(TVideoKey key);

private:
    TCommandFlags SynchronousFlags();
    TCommandFlags AsynchronousFlags() const;
    void ClearRequests();
    void RequireOpen() const;
    void CompletionNotice(uint32_t notifyCode);

    std::unique_ptr<TMediaBackEnd> backEnd_;
    QByteArray fileName_;
    TMPDeviceTypes deviceType_ = dtAutoSelect;
    bool shareable_ = false;
    bool autoOpen_ = false;
    bool autoRewind_ = true;
    QWidget *display_ = nullptr;
    bool opened_ = false;
    uint16_t deviceId_ = 0;
    bool wait_ = false;
    bool waitPending_ = false;
    bool notify_ = false;
    bool notifyPending_ = false;
    std::optional<uint32_t> startPos_;
    std::optional<uint32_t> endPos_;
    uint32_t error_ = 0;
    TMediaTags tags_;
    TDeviceNotifyValue notifyValue_ = dnSuccessful;
};
