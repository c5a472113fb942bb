#pragma once

#include "TMediaBackEnd.h"

#include <QObject>
#include <atomic>

struct TMpvLibrary;
struct mpv_handle;
struct mpv_event;

// The media back end over libmpv, hardened to open local regular files only: no scripts,
// no configuration files, no network, no helper programs. The engine is loaded on the first
// Open. Its state is kept from observed properties, so that StatusMode never waits on it.
class TMpvBackEnd : public QObject, public TMediaBackEnd {
    Q_OBJECT

public:
    // How long Open waits for a file to become ready to play.
    static constexpr int OpenDeadlineMilliseconds = 5000;

    TMpvBackEnd();
    ~TMpvBackEnd() override;

    uint32_t Open(const QByteArray &element, bool shareable, TCommandFlags flags, uint16_t &deviceId) override;
    uint32_t Close(uint16_t deviceId, TCommandFlags flags) override;
    uint32_t Play(uint16_t deviceId, TCommandFlags flags, std::optional<uint32_t> from,
                  std::optional<uint32_t> to) override;
    uint32_t Pause(uint16_t deviceId, TCommandFlags flags) override;
    uint32_t Resume(uint16_t deviceId, TCommandFlags flags) override;
    uint32_t Stop(uint16_t deviceId, TCommandFlags flags) override;
    uint32_t SeekToStart(uint16_t deviceId) override;
    uint32_t StatusMode(uint16_t deviceId, uint32_t &mode) override;
    uint32_t StatusPosition(uint16_t deviceId, uint32_t &milliseconds) override;
    uint32_t StatusLength(uint16_t deviceId, uint32_t &milliseconds) override;
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
    uint32_t Check(uint16_t deviceId) const;
    uint32_t Command(std::initializer_list<const char *> arguments);
    uint32_t SetPaused(bool paused);
    // Playback goes on (Play, Resume) or holds at the position reached (Pause, Stop).
    uint32_t Run(TCommandFlags flags);
    uint32_t Halt(uint16_t deviceId, TCommandFlags flags, TState state);
    // A time property of the engine (a blocking read: only for the rarely used position queries).
    uint32_t ReadMilliseconds(uint16_t deviceId, const char *property, uint32_t &milliseconds);
    uint32_t LoadAndWait(const QByteArray &path);
    void DrainEvents();
    void Handle(const mpv_event &event);
    void SendNotice(uint32_t notifyCode);
    void EndPlayNotice(uint32_t notifyCode);
    uint32_t Finish(uint32_t result, TCommandFlags flags);

    const TMpvLibrary *mpv_ = nullptr;
    mpv_handle *handle_ = nullptr;
    QString engineError_;
    std::atomic<bool> drainQueued_{false};
    uint16_t deviceId_ = 0;
    uint16_t lastDeviceId_ = 0;
    TState state_ = TState::Stopped;
    bool eofReached_ = false;
    bool playNoticePending_ = false;
};
