#include "TMpvBackEnd.h"

#include "MpvLibrary.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMetaObject>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum TObserved : uint64_t { ObserveEofReached = 1 };

// Options that keep the engine to local files and away from the user's configuration,
// scripts, helper programs and the network; then the device's own behaviour.
const char *const EngineOptions[][2] = {
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"input-media-keys", "no"},
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
    {"access-references", "no"},
    {"ordered-chapters", "no"},
    {"load-unsafe-playlists", "no"},
    {"demuxer-lavf-o", "protocol_whitelist=file"},
    {"stream-lavf-o", "protocol_whitelist=file"},
    {"cover-art-auto", "no"},
    {"audio-display", "no"},
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"autoload-files", "no"},
    {"idle", "yes"},
    {"keep-open", "yes"},
    {"keep-open-pause", "yes"},
    {"ao", "pipewire,pulse,alsa"},
    {"audio-fallback-to-null", "yes"},
};

bool HasDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return !platform.isEmpty() && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

TMpvBackEnd::TMpvBackEnd() = default;

TMpvBackEnd::~TMpvBackEnd()
{
    if (handle_) {
        mpv_->setWakeupCallback(handle_, nullptr, nullptr);
        mpv_->terminateDestroy(handle_);
    }
}

uint32_t TMpvBackEnd::StartEngine()
{
    if (handle_)
        return Success;
    mpv_ = TMpvLibrary::Load(engineError_);
    if (!mpv_)
        return EngineUnavailable;
    std::setlocale(LC_NUMERIC, "C"); // libmpv refuses to start under a locale with another decimal point
    mpv_handle *handle = mpv_->create();
    if (!handle) {
        engineError_ = QStringLiteral("libmpv could not create a player");
        return EngineUnavailable;
    }
    for (const auto &[name, value] : EngineOptions) {
        const int result = mpv_->setOptionString(handle, name, value);
        if (result < 0 && result != MPV_ERROR_OPTION_NOT_FOUND) {
            engineError_ = QStringLiteral("libmpv refused the option %1: %2")
                               .arg(QLatin1String(name), QLatin1String(mpv_->errorString(result)));
            mpv_->terminateDestroy(handle);
            return EngineUnavailable;
        }
    }
    mpv_->setOptionString(handle, "vo", HasDisplay() ? "gpu,x11" : "null");
    if (mpv_->initialize(handle) < 0) {
        engineError_ = QStringLiteral("libmpv could not be started");
        mpv_->terminateDestroy(handle);
        return EngineUnavailable;
    }
    handle_ = handle;
    mpv_->observeProperty(handle_, ObserveEofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_->setWakeupCallback(handle_, [](void *context) {
        auto *self = static_cast<TMpvBackEnd *>(context);
        if (!self->drainQueued_.exchange(true))
            QMetaObject::invokeMethod(self, [self] { self->DrainEvents(); }, Qt::QueuedConnection);
    }, this);
    return Success;
}

uint32_t TMpvBackEnd::Check(uint16_t deviceId) const
{
    return deviceId != 0 && deviceId == deviceId_ ? Success : DeviceNotOpen;
}

uint32_t TMpvBackEnd::Command(std::initializer_list<const char *> arguments)
{
    std::vector<const char *> argv(arguments);
    argv.push_back(nullptr);
    const int result = mpv_->command(handle_, argv.data());
    return result < 0 ? EngineErrorBase + uint32_t(-result) : Success;
}

uint32_t TMpvBackEnd::SetPaused(bool paused)
{
    const int result = mpv_->setPropertyString(handle_, "pause", paused ? "yes" : "no");
    return result < 0 ? EngineErrorBase + uint32_t(-result) : Success;
}

uint32_t TMpvBackEnd::Open(const QByteArray &element, bool, TCommandFlags flags, uint16_t &deviceId)
{
    EndPlayNotice(MCI_NOTIFY_ABORTED);
    char resolved[PATH_MAX];
    if (element.isEmpty() || !::realpath(element.constData(), resolved))
        return element.isEmpty() || errno == ENOENT || errno == ENOTDIR ? NoSuchFile : Unreadable;
    struct stat info {};
    if (::stat(resolved, &info) != 0)
        return NoSuchFile;
    if (!S_ISREG(info.st_mode))
        return NotARegularFile;
    if (::access(resolved, R_OK) != 0)
        return Unreadable;
    if (const uint32_t started = StartEngine())
        return started;
    const uint32_t loaded = LoadAndWait(QByteArray(resolved));
    if (loaded != Success)
        return loaded;
    deviceId_ = lastDeviceId_ = uint16_t(lastDeviceId_ == 0xFFFF ? 1 : lastDeviceId_ + 1);
    deviceId = deviceId_;
    state_ = TState::Stopped;
    return Finish(Success, flags);
}

uint32_t TMpvBackEnd::LoadAndWait(const QByteArray &path)
{
    eofReached_ = false;
    if (const uint32_t paused = SetPaused(true))
        return paused;
    const char *load[] = {"loadfile", path.constData(), "replace", nullptr};
    mpv_node result{};
    const int loaded = mpv_->commandRet(handle_, load, &result);
    if (loaded < 0)
        return EngineErrorBase + uint32_t(-loaded);
    int64_t entryId = -1;
    if (result.format == MPV_FORMAT_NODE_MAP)
        for (int i = 0; i < result.u.list->num; ++i)
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0)
                entryId = result.u.list->values[i].u.int64;
    mpv_->freeNodeContents(&result);

    QElapsedTimer clock;
    clock.start();
    bool started = false;
    while (clock.elapsed() < OpenDeadlineMilliseconds) {
        const double timeout = double(OpenDeadlineMilliseconds - clock.elapsed()) / 1000.0;
        const mpv_event *event = mpv_->waitEvent(handle_, timeout);
        if (event->event_id == MPV_EVENT_START_FILE) {
            const auto *start = static_cast<const mpv_event_start_file *>(event->data);
            started = started || entryId < 0 || start->playlist_entry_id == entryId;
            if (entryId < 0)
                entryId = start->playlist_entry_id;
        } else if (event->event_id == MPV_EVENT_PLAYBACK_RESTART && started) {
            return Success;
        } else if (event->event_id == MPV_EVENT_END_FILE) {
            const auto *end = static_cast<const mpv_event_end_file *>(event->data);
            if (end->playlist_entry_id == entryId) {
                Command({"stop"});
                if (end->reason == MPV_END_FILE_REASON_ERROR)
                    return EngineErrorBase + uint32_t(-end->error);
                return end->reason == MPV_END_FILE_REASON_REDIRECT ? IsAPlaylist : NothingToPlay;
            }
        } else {
            Handle(*event);
        }
    }
    Command({"stop"});
    return OpenTimedOut;
}

uint32_t TMpvBackEnd::Close(uint16_t deviceId, TCommandFlags flags)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    EndPlayNotice(MCI_NOTIFY_ABORTED);
    const uint32_t result = Command({"stop"});
    if (result == Success) {
        deviceId_ = 0;
        eofReached_ = false;
    }
    return Finish(result, flags);
}

uint32_t TMpvBackEnd::Play(uint16_t deviceId, TCommandFlags flags, std::optional<uint32_t> from,
                           std::optional<uint32_t> to)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    EndPlayNotice(MCI_NOTIFY_SUPERSEDED);
    if (from) {
        const QByteArray seconds = QByteArray::number(*from / 1000.0);
        Command({"seek", seconds.constData(), "absolute"});
    }
    if (to)
        mpv_->setPropertyString(handle_, "end", QByteArray::number(*to / 1000.0).constData());
    return Run(flags);
}

uint32_t TMpvBackEnd::Run(TCommandFlags flags)
{
    const uint32_t result = SetPaused(false);
    if (result == Success) {
        state_ = TState::Playing;
        playNoticePending_ = flags.Notify;
    }
    return result;
}

uint32_t TMpvBackEnd::Halt(uint16_t deviceId, TCommandFlags flags, TState state)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    EndPlayNotice(MCI_NOTIFY_ABORTED);
    const uint32_t result = SetPaused(true);
    if (result == Success)
        state_ = state;
    return Finish(result, flags);
}

uint32_t TMpvBackEnd::Pause(uint16_t deviceId, TCommandFlags flags)
{
    return Halt(deviceId, flags, TState::Paused);
}

uint32_t TMpvBackEnd::Resume(uint16_t deviceId, TCommandFlags flags)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    if (state_ != TState::Paused)
        return Play(deviceId, flags, std::nullopt, std::nullopt);
    EndPlayNotice(MCI_NOTIFY_SUPERSEDED);
    return Run(flags);
}

uint32_t TMpvBackEnd::Stop(uint16_t deviceId, TCommandFlags flags)
{
    return Halt(deviceId, flags, TState::Stopped);
}

uint32_t TMpvBackEnd::SeekToStart(uint16_t deviceId)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    eofReached_ = false;
    return Command({"seek", "0", "absolute"});
}

uint32_t TMpvBackEnd::StatusMode(uint16_t deviceId, uint32_t &mode)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    if (state_ == TState::Paused)
        mode = MCI_MODE_PAUSE;
    else if (state_ == TState::Stopped || eofReached_)
        mode = MCI_MODE_STOP;
    else
        mode = MCI_MODE_PLAY;
    return Success;
}

uint32_t TMpvBackEnd::StatusPosition(uint16_t deviceId, uint32_t &milliseconds)
{
    return ReadMilliseconds(deviceId, "time-pos", milliseconds);
}

uint32_t TMpvBackEnd::StatusLength(uint16_t deviceId, uint32_t &milliseconds)
{
    return ReadMilliseconds(deviceId, "duration", milliseconds);
}

uint32_t TMpvBackEnd::ReadMilliseconds(uint16_t deviceId, const char *property, uint32_t &milliseconds)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    double seconds = 0;
    const int result = mpv_->getProperty(handle_, property, MPV_FORMAT_DOUBLE, &seconds);
    milliseconds = uint32_t(seconds * 1000);
    return result < 0 ? EngineErrorBase + uint32_t(-result) : Success;
}

QString TMpvBackEnd::ErrorText(uint32_t code) const
{
    switch (code) {
    case Success:
        return QStringLiteral("The command completed successfully.");
    case EngineUnavailable:
        return QStringLiteral("The playback engine cannot be used: ") + engineError_;
    case DeviceNotOpen:
        return QStringLiteral("The device is not open.");
    case NotARegularFile:
        return QStringLiteral("Only regular local files can be played.");
    case NoSuchFile:
        return QStringLiteral("The file does not exist.");
    case Unreadable:
        return QStringLiteral("The file cannot be read.");
    case OpenTimedOut:
        return QStringLiteral("The file did not open in time.");
    case IsAPlaylist:
        return QStringLiteral("The file is a playlist, which is not played.");
    case NothingToPlay:
        return QStringLiteral("The file holds nothing to play.");
    default:
        if (code > EngineErrorBase && mpv_)
            return QString::fromUtf8(mpv_->errorString(-int(code - EngineErrorBase)));
        return {};
    }
}

void TMpvBackEnd::DrainEvents()
{
    drainQueued_ = false;
    if (!handle_)
        return;
    for (;;) {
        const mpv_event *event = mpv_->waitEvent(handle_, 0);
        if (event->event_id == MPV_EVENT_NONE)
            return;
        Handle(*event);
    }
}

void TMpvBackEnd::Handle(const mpv_event &event)
{
    if (event.event_id != MPV_EVENT_PROPERTY_CHANGE || event.reply_userdata != ObserveEofReached)
        return;
    const auto *property = static_cast<const mpv_event_property *>(event.data);
    const bool reached = property->format == MPV_FORMAT_FLAG && *static_cast<const int *>(property->data) != 0;
    eofReached_ = deviceId_ != 0 && reached;
    if (eofReached_)
        EndPlayNotice(MCI_NOTIFY_SUCCESSFUL);
}

void TMpvBackEnd::SendNotice(uint32_t notifyCode)
{
    QMetaObject::invokeMethod(this, [this, notifyCode] { Notice(notifyCode); }, Qt::QueuedConnection);
}

void TMpvBackEnd::EndPlayNotice(uint32_t notifyCode)
{
    if (playNoticePending_) {
        playNoticePending_ = false;
        SendNotice(notifyCode);
    }
}

uint32_t TMpvBackEnd::Finish(uint32_t result, TCommandFlags flags)
{
    if (flags.Notify)
        SendNotice(result == Success ? MCI_NOTIFY_SUCCESSFUL : MCI_NOTIFY_FAILURE);
    return result;
}
