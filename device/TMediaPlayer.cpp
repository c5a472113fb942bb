#include "device/TMediaPlayer.h"

namespace {

// Tags come from the file: a control character (a line break, a tab) would break a one-line
// display or a bus message, and a megabyte of text is no title.
constexpr qsizetype LongestTag = 1000;

QString Sanitized(const QString &tag)
{
    QString text = tag.left(LongestTag);
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    for (QChar &character : text)
        if (character.category() == QChar::Other_Control)
            character = QLatin1Char(' ');
    return text.trimmed();
}

TMediaTags SanitizedTags(const TMediaTags &tags)
{
    return {Sanitized(tags.Title), Sanitized(tags.Artist), Sanitized(tags.Album)};
}

} // namespace

TMediaPlayer::TMediaPlayer(std::unique_ptr<TMediaBackEnd> backEnd, QObject *parent)
    : QObject(parent), backEnd_(std::move(backEnd))
{
    backEnd_->SetNoticeHandler([this](uint32_t notifyCode) { CompletionNotice(notifyCode); });
    backEnd_->SetWindowCloseHandler([this] { emit WindowCloseRequested(); });
    backEnd_->SetVideoKeyHandler([this](TVideoKey key) { emit VideoKeyPressed(key); });
}

TMediaPlayer::~TMediaPlayer()
{
    if (deviceId_ != 0)
        backEnd_->Close(deviceId_, TCommandFlags{true, false});
    backEnd_->SetNoticeHandler(nullptr);
    backEnd_->SetWindowCloseHandler(nullptr);
    backEnd_->SetVideoKeyHandler(nullptr);
}

void TMediaPlayer::SetWait(bool wait)
{
    wait_ = wait;
    waitPending_ = true;
}

void TMediaPlayer::SetNotify(bool notify)
{
    notify_ = notify;
    notifyPending_ = true;
}

void TMediaPlayer::SetStartPos(uint32_t milliseconds)
{
    startPos_ = milliseconds;
}

void TMediaPlayer::SetEndPos(uint32_t milliseconds)
{
    endPos_ = milliseconds;
}

void TMediaPlayer::Loaded()
{
    if (autoOpen_)
        Open();
}

TCommandFlags TMediaPlayer::SynchronousFlags()
{
    TCommandFlags flags{true, false};
    if (waitPending_) {
        flags.Wait = wait_;
        waitPending_ = false;
    }
    if (notifyPending_) {
        flags.Notify = notify_;
        notifyPending_ = false;
    }
    return flags;
}

TCommandFlags TMediaPlayer::AsynchronousFlags() const
{
    TCommandFlags flags{false, true};
    if (notifyPending_)
        flags.Notify = notify_;
    if (waitPending_)
        flags.Wait = wait_;
    return flags;
}

void TMediaPlayer::ClearRequests()
{
    waitPending_ = false;
    notifyPending_ = false;
}

void TMediaPlayer::RequireOpen() const
{
    if (!opened_)
        throw EMCIDeviceError("No MCI device open");
}

void TMediaPlayer::Open()
{
    if (opened_)
        Close();
    uint16_t opened = 0;
    error_ = backEnd_->Open(fileName_, shareable_, SynchronousFlags(), opened);
    if (error_ != 0)
        throw EMCIDeviceError(ErrorMessage().toStdString());
    opened_ = true;
    deviceId_ = opened;
    TMediaTags tags;
    tags_ = backEnd_->StatusTags(deviceId_, tags) == 0 ? SanitizedTags(tags) : TMediaTags();
}

void TMediaPlayer::Play()
{
    RequireOpen();
    if (autoRewind_ && !startPos_ && !endPos_) {
        uint32_t position = 0, length = 0;
        if (backEnd_->StatusPosition(deviceId_, position) == 0 && backEnd_->StatusLength(deviceId_, length) == 0
            && position == length)
            Rewind();
    }
    const TCommandFlags flags = AsynchronousFlags();
    ClearRequests();
    const std::optional<uint32_t> from = std::exchange(startPos_, std::nullopt);
    const std::optional<uint32_t> to = std::exchange(endPos_, std::nullopt);
    error_ = backEnd_->Play(deviceId_, flags, from, to);
}

void TMediaPlayer::Pause()
{
    RequireOpen();
    if (Mode() == dmPlaying)
        error_ = backEnd_->Pause(deviceId_, SynchronousFlags());
    else if (Mode() == dmPaused)
        Resume();
}

void TMediaPlayer::Resume()
{
    RequireOpen();
    error_ = backEnd_->Resume(deviceId_, AsynchronousFlags());
    if (error_ != 0)
        Play();
    else
        ClearRequests();
}

void TMediaPlayer::Stop()
{
    RequireOpen();
    error_ = backEnd_->Stop(deviceId_, SynchronousFlags());
}

void TMediaPlayer::Close()
{
    if (deviceId_ == 0)
        return;
    error_ = backEnd_->Close(deviceId_, SynchronousFlags());
    if (error_ == 0) {
        opened_ = false;
        deviceId_ = 0;
        tags_ = TMediaTags();
    }
}

void TMediaPlayer::HandAhead(const QByteArray &element)
{
    if (opened_)
        backEnd_->HandAhead(deviceId_, element);
}

uint32_t TMediaPlayer::Position()
{
    uint32_t milliseconds = 0;
    return opened_ && backEnd_->StatusPosition(deviceId_, milliseconds) == 0 ? milliseconds : 0;
}

uint32_t TMediaPlayer::Length()
{
    uint32_t milliseconds = 0;
    return opened_ && backEnd_->StatusLength(deviceId_, milliseconds) == 0 ? milliseconds : 0;
}

void TMediaPlayer::Seek(uint32_t milliseconds)
{
    RequireOpen();
    error_ = backEnd_->SeekTo(deviceId_, milliseconds);
}

void TMediaPlayer::Rewind()
{
    RequireOpen();
    backEnd_->SeekToStart(deviceId_);
}

TDeviceMode TMediaPlayer::Mode()
{
    uint32_t mode = 0;
    error_ = backEnd_->StatusMode(deviceId_, mode);
    if (error_ != 0 || mode < MCI_MODE_NOT_READY || mode > MCI_MODE_OPEN)
        return dmNotReady;
    return TDeviceMode(uint8_t(mode - MCI_MODE_NOT_READY));
}

QString TMediaPlayer::ErrorMessage() const
{
    const QString text = backEnd_->ErrorText(error_);
    return text.isEmpty() ? QStringLiteral("Unknown error code") : text;
}

void TMediaPlayer::CompletionNotice(uint32_t notifyCode)
{
    switch (notifyCode) {
    case MCI_NOTIFY_SUCCESSFUL:
        notifyValue_ = dnSuccessful;
        break;
    case MCI_NOTIFY_SUPERSEDED:
        notifyValue_ = dnSuperseded;
        break;
    case MCI_NOTIFY_ABORTED:
        notifyValue_ = dnAborted;
        break;
    case MCI_NOTIFY_FAILURE:
        notifyValue_ = dnFailure;
        break;
    default:
        break;
    }
    if (OnNotify)
        OnNotify(this);
    emit Notified();
}
