#pragma once

#include "device/TMediaBackEnd.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <atomic>

struct TMpvLibrary;
struct mpv_handle;
struct mpv_event;
struct mpv_event_client_message;

// The media back end over libmpv, hardened to open local regular files only: no scripts,
// no configuration files, no network, no helper programs. The engine is loaded on the first
// Open. Its state is kept from observed properties, so that StatusMode never waits on it.
//
// The end of a medium is where its last sample has been heard, not where decoding ends.
// Play lets the sound start on the next turn of the event loop, and Close unloads the file
// on the next turn too, so that closing and reopening the same file in one turn, as the
// player's poll does at each advance, neither restarts the sound nor the video output.
class TMpvBackEnd : public QObject, public TMediaBackEnd {
    Q_OBJECT

public:
    // How long Open waits for a file to become ready to play.
    static constexpr int OpenDeadlineMilliseconds = 5000;
    // How long the engine may take to play out its buffered sound after decoding has ended
    // before the medium counts as ended anyway.
    static constexpr int PlayOutDeadlineMilliseconds = 2000;

    // The video window's caption is the product's name, " - " and the file's name; the sound
    // server knows the stream by the product's name, and the desktop knows the video window
    // by the application id (its X11 class, its Wayland app id).
    explicit TMpvBackEnd(QString productName = QString(), QByteArray applicationId = QByteArray());
    ~TMpvBackEnd() override;

    uint32_t Open(const QByteArray &element, bool shareable, TCommandFlags flags, uint16_t &deviceId) override;
    uint32_t Close(uint16_t deviceId, TCommandFlags flags) override;
    uint32_t Play(uint16_t deviceId, TCommandFlags flags, std::optional<uint32_t> from,
                  std::optional<uint32_t> to) override;
    uint32_t Pause(uint16_t deviceId, TCommandFlags flags) override;
    uint32_t Resume(uint16_t deviceId, TCommandFlags flags) override;
    uint32_t Stop(uint16_t deviceId, TCommandFlags flags) override;
    uint32_t SeekToStart(uint16_t deviceId) override;
    uint32_t SeekTo(uint16_t deviceId, uint32_t milliseconds) override;
    uint32_t HandAhead(uint16_t deviceId, const QByteArray &element) override;
    double Volume() const override { return volume_; }
    void SetVolume(double volume) override;
    void SetEvenLoudness(bool on) override;
    uint32_t StatusMode(uint16_t deviceId, uint32_t &mode) override;
    uint32_t StatusPosition(uint16_t deviceId, uint32_t &milliseconds) override;
    uint32_t StatusLength(uint16_t deviceId, uint32_t &milliseconds) override;
    uint32_t StatusTags(uint16_t deviceId, TMediaTags &tags) override;
    QString ErrorText(uint32_t code) const override;

private:
    enum TResult : uint32_t {
        Success = 0,
        EngineUnavailable = 1,
        DeviceNotOpen = 2,
        NotARegularFile = 3,
        NoSuchFile = 4,
        Unreadable = 5,
        OpenTimedOut = 6,
        IsAPlaylist = 7,
        NothingToPlay = 8,
        EngineErrorBase = 1000, // plus the negated libmpv error code
    };
    enum class TState { Stopped, Playing, Paused };

    uint32_t StartEngine();
    void StopEngine();
    uint32_t Check(uint16_t deviceId) const;
    uint32_t Command(std::initializer_list<const char *> arguments);
    uint32_t SetPaused(bool paused);
    // Playback goes on (Play, Resume) or holds at the position reached (Pause, Stop).
    uint32_t Run(TCommandFlags flags);
    uint32_t Halt(uint16_t deviceId, TCommandFlags flags, TState state);
    // A time property of the engine (a blocking read: only for the rarely used position queries).
    uint32_t ReadMilliseconds(uint16_t deviceId, const char *property, uint32_t &milliseconds);
    void ApplyVolume();
    void ApplyLoudness();
    // The checks of every element the engine is given: its real path, or why not.
    uint32_t ResolveMedium(const QByteArray &element, QByteArray &path) const;
    uint32_t LoadAndWait(const QByteArray &path);
    // Appends or replaces through loadfile; the engine's playlist entry, or -1 when refused.
    int64_t LoadFile(const QByteArray &path, const char *how);
    void DropHandedAhead();
    // The open medium ended and the engine went on into what was handed ahead.
    void CarryOn();
    // What was handed ahead plays on after the end of the medium before it until an Open of it
    // takes it up; not taken up in time, it is stopped.
    void StopUncarried();
    void SetCaption(const QByteArray &path);
    // The next video window opens on the screen of the window the user works in.
    void SetVideoScreen();
    void StartSound();
    void UnloadClosedFile();
    // Watches the end-of-file flag or the pause flag anew, so that no earlier value counts.
    void ObserveAnew(const char *property, uint64_t &observation, bool &value);
    void ObserveEndOfFile();
    void ObservePause();
    bool PlayOutOverdue() const;
    void DrainEvents();
    void Handle(const mpv_event &event);
    // The video window's close button and playback keys, told to the player on the next turn.
    void HandleMessage(const mpv_event_client_message *message);
    // A new video comes to the front, unless a box or dialog of the player is open: then once
    // it has closed.
    void RaiseVideoUnlessBlocked();
    void RaiseWhenUnblocked();
    void CheckPlayedOut();
    bool AtTheEnd() const;
    void MediumEnded();
    void SendNotice(uint32_t notifyCode);
    void EndPlayNotice(uint32_t notifyCode);
    uint32_t Finish(uint32_t result, TCommandFlags flags);

    QString productName_;
    QByteArray applicationId_;
    const TMpvLibrary *mpv_ = nullptr;
    mpv_handle *handle_ = nullptr;
    QString engineError_;
    std::atomic<bool> drainQueued_{false};
    QTimer startTimer_;
    QTimer unloadTimer_;
    QTimer carryTimer_;
    uint16_t deviceId_ = 0;
    uint16_t lastDeviceId_ = 0;
    TState state_ = TState::Stopped;
    QByteArray loadedPath_;   // the file the engine holds, open or closed
    int64_t loadedEntry_ = -1; // its entry in the engine's playlist
    bool soundStarted_ = false; // since it was loaded
    QByteArray handedPath_;     // what follows the loaded file without a gap
    int64_t handedEntry_ = -1;
    bool carrying_ = false;     // the loaded file came after the last one without a gap
    bool videoHidden_ = false;
    bool raiseVideo_ = false; // a new file was loaded: its video window comes to the front
    bool raiseWhenUnblocked_ = false;
    bool ended_ = false;
    double volume_ = 1.0; // kept here, so that it holds across engine starts
    bool evenLoudness_ = false;
    uint64_t lastObservation_ = 0;
    uint64_t endOfFileObservation_ = 0;
    uint64_t pauseObservation_ = 0;
    bool endOfFile_ = false;
    bool enginePaused_ = false;
    QElapsedTimer endOfFileClock_;
    bool playNoticePending_ = false;
};
