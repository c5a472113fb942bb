#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// Mode codes a back end reports, as the multimedia control interface numbers them.
inline constexpr uint32_t MCI_MODE_NOT_READY = 524;
inline constexpr uint32_t MCI_MODE_STOP = 525;
inline constexpr uint32_t MCI_MODE_PLAY = 526;
inline constexpr uint32_t MCI_MODE_RECORD = 527;
inline constexpr uint32_t MCI_MODE_SEEK = 528;
inline constexpr uint32_t MCI_MODE_PAUSE = 529;
inline constexpr uint32_t MCI_MODE_OPEN = 530;

// Completion notice codes.
inline constexpr uint32_t MCI_NOTIFY_SUCCESSFUL = 1;
inline constexpr uint32_t MCI_NOTIFY_SUPERSEDED = 2;
inline constexpr uint32_t MCI_NOTIFY_ABORTED = 4;
inline constexpr uint32_t MCI_NOTIFY_FAILURE = 8;

// How one command is sent: run to its end before returning, and post a completion notice.
struct TCommandFlags {
    bool Wait = false;
    bool Notify = false;
    bool operator==(const TCommandFlags &) const = default;
};

// What the tags of a medium say of it; an empty text where it says nothing.
struct TMediaTags {
    QString Title;
    QString Artist;
    QString Album;
    bool operator==(const TMediaTags &) const = default;
};

// A playback engine as the media device drives it: commands addressed to an open device,
// each answering with a result code (0 for success) whose text the back end knows.
// The playback keys pressed in the back end's own video window, which the player, not the
// engine, acts on.
enum class TVideoKey { Previous, Play, Pause, PlayPause, Stop, Next };

class TMediaBackEnd {
public:
    using TNoticeHandler = std::function<void(uint32_t notifyCode)>;
    using TWindowCloseHandler = std::function<void()>;
    using TVideoKeyHandler = std::function<void(TVideoKey key)>;

    virtual ~TMediaBackEnd() = default;

    // On success sets the identifier of the opened device (never 0).
    virtual uint32_t Open(const QByteArray &element, bool shareable, TCommandFlags flags, uint16_t &deviceId) = 0;
    virtual uint32_t Close(uint16_t deviceId, TCommandFlags flags) = 0;
    // Returns at once unless Wait is set; from and to are positions in milliseconds.
    virtual uint32_t Play(uint16_t deviceId, TCommandFlags flags, std::optional<uint32_t> from,
                          std::optional<uint32_t> to) = 0;
    virtual uint32_t Pause(uint16_t deviceId, TCommandFlags flags) = 0;
    virtual uint32_t Resume(uint16_t deviceId, TCommandFlags flags) = 0;
    virtual uint32_t Stop(uint16_t deviceId, TCommandFlags flags) = 0;
    virtual uint32_t SeekToStart(uint16_t deviceId) = 0;
    // Moves the open medium to a position in milliseconds; playing or paused, it stays so.
    virtual uint32_t SeekTo(uint16_t deviceId, uint32_t milliseconds) = 0;
    // Gives the engine the medium to follow the open one once it ends, so that it is heard
    // without a gap: a local regular file, checked as Open checks it; an empty element takes
    // back what was handed ahead. Nothing is reported before the open medium ends, which is
    // then told as any end is; the next Open of that element takes it up as it plays.
    virtual uint32_t HandAhead(uint16_t deviceId, const QByteArray &element) = 0;
    // The engine's volume, from 0.0 (silent) to 1.0 (full), open medium or not.
    virtual double Volume() const = 0;
    virtual void SetVolume(double volume) = 0;
    // On: each file's track gain (ReplayGain, R128 in Opus) is applied, lowered where it would
    // clip; files without such tags play as they are. Holds for every medium opened after.
    virtual void SetEvenLoudness(bool on) = 0;
    // Must answer at once, without waiting for the engine.
    virtual uint32_t StatusMode(uint16_t deviceId, uint32_t &mode) = 0;
    virtual uint32_t StatusPosition(uint16_t deviceId, uint32_t &milliseconds) = 0;
    virtual uint32_t StatusLength(uint16_t deviceId, uint32_t &milliseconds) = 0;
    // The open medium's tags, as the engine read them when it opened the medium.
    virtual uint32_t StatusTags(uint16_t deviceId, TMediaTags &tags) = 0;
    // The text of a result code; empty when the back end has none.
    virtual QString ErrorText(uint32_t code) const = 0;

    // Completion notices of commands sent with Notify arrive here, later, on the GUI thread.
    void SetNoticeHandler(TNoticeHandler handler) { noticeHandler_ = std::move(handler); }
    // The user asked the window manager to close the back end's own video window.
    void SetWindowCloseHandler(TWindowCloseHandler handler) { windowCloseHandler_ = std::move(handler); }
    // A playback key was pressed in the back end's own video window.
    void SetVideoKeyHandler(TVideoKeyHandler handler) { videoKeyHandler_ = std::move(handler); }

protected:
    void Notice(uint32_t notifyCode) const
    {
        if (noticeHandler_)
            noticeHandler_(notifyCode);
    }
    void WindowCloseRequest() const
    {
        if (windowCloseHandler_)
            windowCloseHandler_();
    }
    void VideoKeyPressed(TVideoKey key) const
    {
        if (videoKeyHandler_)
            videoKeyHandler_(key);
    }

private:
    TNoticeHandler noticeHandler_;
    TWindowCloseHandler windowCloseHandler_;
    TVideoKeyHandler videoKeyHandler_;
};
