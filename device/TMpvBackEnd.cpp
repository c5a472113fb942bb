#include "device/TMpvBackEnd.h"

#include "device/DisplayLoss.h"
#include "device/MpvLibrary.h"
#include "device/StandardInput.h"
#include "device/VideoWindowIdentity.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QMetaObject>
#include <QPointer>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    // The video window's keys reach the bindings below, and only those.
    {"input-vo-keyboard", "yes"},
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
    // What is handed ahead is opened before the end and follows without a gap where the sample
    // format stays; another format reopens the audio output rather than being converted.
    {"prefetch-playlist", "yes"},
    {"gapless-audio", "weak"},
    // Pauses only once the audio output has played out what it holds: the real end.
    {"keep-open-pause", "yes"},
    {"ao", "pipewire,pulse,alsa"},
    {"audio-fallback-to-null", "yes"},
    // Only OpenGL, also in software: probing Vulkan closes descriptors it does not own
    // (libmpv 0.35) and takes the display connection down with them.
    {"gpu-api", "opengl"},
    {"gpu-sw", "yes"},
    // The video window comes up in the middle of its screen and wholly on it; in full screen
    // the pointer hides after a second without moving.
    {"geometry", "50%:50%"},
    {"autofit-larger", "90%x90%"},
    {"cursor-autohide", "1000"},
    {"cursor-autohide-fs-only", "yes"},
    // The engine's own controller (time and seek bar) shows in the video window as the pointer
    // moves; it is built in, no script of the user's.
    {"osc", "yes"},
};

// The window manager's close button on the video window reaches the back end as a message.
const char *const CloseWindowMessage = "ostrel-close-window";
// So do the playback keys pressed in it, each named after the message.
const char *const VideoKeyMessage = "ostrel-key";

struct TVideoKeyBinding {
    const char *EngineKeys; // the engine's names of the keys, separated by blanks
    const char *Name;
    TVideoKey Key;
};

const TVideoKeyBinding VideoKeyBindings[] = {
    {"z Z PREV", "previous", TVideoKey::Previous}, {"x X PLAY", "play", TVideoKey::Play},
    {"c C PAUSE", "pause", TVideoKey::Pause},      {"SPACE PLAYPAUSE", "playpause", TVideoKey::PlayPause},
    {"v V STOP", "stop", TVideoKey::Stop},         {"b B NEXT", "next", TVideoKey::Next},
};

// The video window's input: its close button and the playback keys go to the player; full
// screen is the engine's own, by double-click and F, left by Esc.
QByteArray VideoWindowBindings()
{
    QByteArray bindings = QByteArray("CLOSE_WIN script-message ") + CloseWindowMessage + '\n';
    bindings += "f cycle fullscreen\nF cycle fullscreen\nMBTN_LEFT_DBL cycle fullscreen\nESC set fullscreen no\n";
    for (const TVideoKeyBinding &binding : VideoKeyBindings)
        for (const QByteArray &key : QByteArray(binding.EngineKeys).split(' '))
            bindings += key + " script-message " + VideoKeyMessage + ' ' + binding.Name + '\n';
    return bindings;
}

// A client message's arguments, copied out of the event, which lives only until the engine is
// asked for the next one; none where libmpv left the message or an argument out.
QList<QByteArray> MessageArguments(const mpv_event_client_message *message)
{
    QList<QByteArray> arguments;
    if (!message || !message->args || message->num_args <= 0)
        return arguments;
    for (int i = 0; i < message->num_args; ++i) {
        if (!message->args[i])
            return {};
        arguments.append(QByteArray(message->args[i]));
    }
    return arguments;
}

bool HasDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return !platform.isEmpty() && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

struct TVideoOutput {
    const char *Outputs;
    const char *GpuContexts;
};

// The video goes to the display server the windows are on (left to itself, the engine takes
// Wayland whenever it finds one, also under Qt on XWayland), with a software output after the
// GPU one for where OpenGL cannot start.
TVideoOutput VideoOutput()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return {"gpu,wlshm", "wayland"};
    if (HasDisplay())
        return {"gpu,x11", "x11egl,x11"};
    return {"null", "auto"};
}

// The engine expands "${...}" in its window title; a "$" of the file name must stay itself.
QByteArray TitleText(const QString &text)
{
    return text.toUtf8().replace('$', "$$");
}

} // namespace

TMpvBackEnd::TMpvBackEnd(QString productName, QByteArray applicationId)
    : productName_(std::move(productName)), applicationId_(std::move(applicationId))
{
    startTimer_.setSingleShot(true);
    startTimer_.setInterval(0);
    connect(&startTimer_, &QTimer::timeout, this, &TMpvBackEnd::StartSound);
    unloadTimer_.setSingleShot(true);
    unloadTimer_.setInterval(0);
    connect(&unloadTimer_, &QTimer::timeout, this, &TMpvBackEnd::UnloadClosedFile);
    // The player's poll takes up what carried on within a second; two are granted.
    carryTimer_.setSingleShot(true);
    carryTimer_.setInterval(2000);
    connect(&carryTimer_, &QTimer::timeout, this, &TMpvBackEnd::StopUncarried);
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::focusWindowChanged, this, &TMpvBackEnd::RaiseWhenUnblocked);
}

TMpvBackEnd::~TMpvBackEnd()
{
    StopEngine();
}

void TMpvBackEnd::StopEngine()
{
    if (!handle_)
        return;
    mpv_->setWakeupCallback(handle_, nullptr, nullptr);
    mpv_->terminateDestroy(handle_);
    handle_ = nullptr;
    loadedPath_.clear();
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
    const TVideoOutput output = VideoOutput();
    mpv_->setOptionString(handle, "vo", output.Outputs);
    mpv_->setOptionString(handle, "gpu-context", output.GpuContexts);
    if (!applicationId_.isEmpty()) {
        mpv_->setOptionString(handle, "x11-name", applicationId_.constData());
        mpv_->setOptionString(handle, "wayland-app-id", applicationId_.constData());
    }
    if (!productName_.isEmpty())
        mpv_->setOptionString(handle, "audio-client-name", productName_.toUtf8().constData());
    if (mpv_->initialize(handle) < 0) {
        engineError_ = QStringLiteral("libmpv could not be started");
        mpv_->terminateDestroy(handle);
        return EngineUnavailable;
    }
    handle_ = handle;
    ApplyVolume();
    ApplyLoudness();
    if (HasDisplay())
        RouteDisplayLossToTheUserInterfaceThread();
    const QByteArray bindings = VideoWindowBindings();
    Command({"define-section", "ostrel-window", bindings.constData(), "force"});
    Command({"enable-section", "ostrel-window"});
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
    startTimer_.stop();
    QByteArray path;
    if (const uint32_t refused = ResolveMedium(element, path))
        return refused;
    if (const uint32_t started = StartEngine())
        return started;
    RefillClosedStandardInput();
    DrainEvents(); // a file that carried on and failed at once is known to have failed
    // Closed in this same turn and never heard, or carried on from the last one: the engine
    // holds it as it should go on.
    const bool stillHeld = unloadTimer_.isActive() && path == loadedPath_ && (!soundStarted_ || carrying_);
    unloadTimer_.stop();
    if (stillHeld && carrying_) {
        carryTimer_.stop();
        ended_ = false; // the end told was that of the file before
        // Taken up: once the player's advance (which opens it twice) is over, it is a file
        // like any other.
        QMetaObject::invokeMethod(this, [this] { carrying_ = false; }, Qt::QueuedConnection);
    }
    if (!stillHeld) {
        const uint32_t loaded = LoadAndWait(path);
        if (loaded != Success)
            return loaded;
    }
    if (videoHidden_) {
        videoHidden_ = false;
        mpv_->setPropertyString(handle_, "vid", "auto");
    }
    deviceId_ = lastDeviceId_ = uint16_t(lastDeviceId_ == 0xFFFF ? 1 : lastDeviceId_ + 1);
    deviceId = deviceId_;
    state_ = TState::Stopped;
    return Finish(Success, flags);
}

void TMpvBackEnd::SetCaption(const QByteArray &path)
{
    const QString fileName = QFileInfo(QString::fromUtf8(path)).fileName();
    const QString caption = productName_.isEmpty() ? fileName : productName_ + QStringLiteral(" - ") + fileName;
    mpv_->setPropertyString(handle_, "title", TitleText(caption).constData());
}

void TMpvBackEnd::SetVideoScreen()
{
    // The screen of the window the user works in, where the video is expected.
    const QWindow *window = QGuiApplication::focusWindow();
    const QScreen *screen = window ? window->screen() : QGuiApplication::primaryScreen();
    const qsizetype index = screen ? QGuiApplication::screens().indexOf(screen) : -1;
    if (index >= 0)
        mpv_->setPropertyString(handle_, "screen", QByteArray::number(index).constData());
}

uint32_t TMpvBackEnd::ResolveMedium(const QByteArray &element, QByteArray &path) const
{
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
    path = QByteArray(resolved);
    return Success;
}

int64_t TMpvBackEnd::LoadFile(const QByteArray &path, const char *how)
{
    const char *load[] = {"loadfile", path.constData(), how, nullptr};
    mpv_node result{};
    if (mpv_->commandRet(handle_, load, &result) < 0)
        return -1;
    int64_t entryId = 0; // an engine that does not tell: its next start is taken
    if (result.format == MPV_FORMAT_NODE_MAP && result.u.list && result.u.list->keys)
        for (int i = 0; i < result.u.list->num; ++i)
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0
                && result.u.list->values[i].format == MPV_FORMAT_INT64)
                entryId = result.u.list->values[i].u.int64;
    mpv_->freeNodeContents(&result);
    return entryId;
}

uint32_t TMpvBackEnd::HandAhead(uint16_t deviceId, const QByteArray &element)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    QByteArray path;
    const uint32_t refused = element.isEmpty() ? Success : ResolveMedium(element, path);
    if (!path.isEmpty() && path == handedPath_)
        return Success;
    DropHandedAhead();
    if (path.isEmpty())
        return refused;
    const int64_t entry = LoadFile(path, "append");
    if (entry <= 0)
        return EngineErrorBase;
    handedPath_ = path;
    handedEntry_ = entry;
    return Success;
}

void TMpvBackEnd::DropHandedAhead()
{
    if (handedPath_.isEmpty())
        return;
    handedPath_.clear();
    handedEntry_ = -1;
    Command({"playlist-clear"}); // all but what plays
}

void TMpvBackEnd::CarryOn()
{
    loadedPath_ = std::exchange(handedPath_, QByteArray());
    loadedEntry_ = std::exchange(handedEntry_, -1);
    carrying_ = true;
    soundStarted_ = true; // it is heard from the moment it starts
    SetCaption(loadedPath_);
    ObserveEndOfFile();
    carryTimer_.start();
    MediumEnded();
}

void TMpvBackEnd::StopUncarried()
{
    if (!carrying_ || deviceId_ != 0 || !handle_)
        return;
    carrying_ = false;
    loadedPath_.clear();
    Command({"stop"});
}

uint32_t TMpvBackEnd::LoadAndWait(const QByteArray &path)
{
    loadedPath_.clear();
    handedPath_.clear(); // replacing the file empties the engine's playlist
    handedEntry_ = -1;
    carrying_ = false;
    carryTimer_.stop();
    if (const uint32_t paused = SetPaused(true))
        return paused;
    SetCaption(path);
    SetVideoScreen();
    raiseVideo_ = true;
    int64_t entryId = LoadFile(path, "replace");
    if (entryId < 0)
        return EngineErrorBase;
    if (entryId == 0)
        entryId = -1;

    QElapsedTimer clock;
    clock.start();
    bool started = false;
    while (clock.elapsed() < OpenDeadlineMilliseconds) {
        const double timeout = double(OpenDeadlineMilliseconds - clock.elapsed()) / 1000.0;
        const mpv_event *event = mpv_->waitEvent(handle_, timeout);
        if (!event)
            continue;
        if (event->event_id == MPV_EVENT_START_FILE && event->data) {
            const auto *start = static_cast<const mpv_event_start_file *>(event->data);
            started = started || entryId < 0 || start->playlist_entry_id == entryId;
            if (entryId < 0)
                entryId = start->playlist_entry_id;
        } else if (event->event_id == MPV_EVENT_PLAYBACK_RESTART && started) {
            loadedPath_ = path;
            loadedEntry_ = entryId;
            soundStarted_ = false;
            ended_ = false;
            ObserveEndOfFile();
            ObservePause();
            return Success;
        } else if (event->event_id == MPV_EVENT_END_FILE && event->data
                   && static_cast<const mpv_event_end_file *>(event->data)->playlist_entry_id == entryId) {
            const auto *end = static_cast<const mpv_event_end_file *>(event->data);
            Command({"stop"});
            if (end->reason == MPV_END_FILE_REASON_ERROR)
                return EngineErrorBase + uint32_t(-end->error);
            return end->reason == MPV_END_FILE_REASON_REDIRECT ? IsAPlaylist : NothingToPlay;
        } else {
            Handle(*event);
            if (!handle_)
                return EngineUnavailable;
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
    startTimer_.stop();
    // A file that carried on from the last one plays on, to be taken up by the Open that
    // follows in this turn; any other file holds where it is.
    const uint32_t result = carrying_ ? Success : SetPaused(true);
    if (result == Success) {
        if (!carrying_)
            DropHandedAhead();
        deviceId_ = 0;
        state_ = TState::Stopped;
        unloadTimer_.start();
    }
    return Finish(result, flags);
}

void TMpvBackEnd::UnloadClosedFile()
{
    if (deviceId_ != 0 || loadedPath_.isEmpty() || !handle_)
        return;
    loadedPath_.clear();
    carrying_ = false;
    carryTimer_.stop();
    Command({"stop"});
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
        ended_ = false;
        ObserveEndOfFile();
    }
    if (to)
        mpv_->setPropertyString(handle_, "end", QByteArray::number(*to / 1000.0).constData());
    return Run(flags);
}

uint32_t TMpvBackEnd::Run(TCommandFlags flags)
{
    state_ = TState::Playing;
    playNoticePending_ = flags.Notify;
    startTimer_.start();
    return Success;
}

void TMpvBackEnd::StartSound()
{
    if (deviceId_ == 0 || state_ != TState::Playing || ended_)
        return;
    if (SetPaused(false) != Success)
        return;
    soundStarted_ = true;
    ObservePause();
    if (endOfFile_)
        endOfFileClock_.start();
}

uint32_t TMpvBackEnd::Halt(uint16_t deviceId, TCommandFlags flags, TState state)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    EndPlayNotice(MCI_NOTIFY_ABORTED);
    startTimer_.stop();
    DropHandedAhead();
    carrying_ = false;
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
    return SeekTo(deviceId, 0);
}

uint32_t TMpvBackEnd::SeekTo(uint16_t deviceId, uint32_t milliseconds)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    DropHandedAhead(); // what follows is chosen again once the new position nears the end
    const QByteArray seconds = QByteArray::number(double(milliseconds) / 1000.0, 'f', 3);
    const uint32_t result = Command({"seek", seconds.constData(), "absolute"});
    ended_ = false;
    ObserveEndOfFile();
    return result;
}

void TMpvBackEnd::SetVolume(double volume)
{
    volume_ = std::clamp(volume, 0.0, 1.0);
    if (handle_)
        ApplyVolume();
}

void TMpvBackEnd::SetEvenLoudness(bool on)
{
    evenLoudness_ = on;
    if (handle_)
        ApplyLoudness();
}

void TMpvBackEnd::ApplyLoudness()
{
    mpv_->setPropertyString(handle_, "replaygain", evenLoudness_ ? "track" : "no");
    mpv_->setPropertyString(handle_, "replaygain-clip", "yes");
}

void TMpvBackEnd::ApplyVolume()
{
    mpv_->setPropertyString(handle_, "volume", QByteArray::number(volume_ * 100, 'f', 1).constData());
}

uint32_t TMpvBackEnd::StatusMode(uint16_t deviceId, uint32_t &mode)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    if (state_ == TState::Paused)
        mode = MCI_MODE_PAUSE;
    else if (state_ == TState::Stopped || ended_ || PlayOutOverdue())
        mode = MCI_MODE_STOP;
    else
        mode = MCI_MODE_PLAY;
    return Success;
}

bool TMpvBackEnd::PlayOutOverdue() const
{
    return soundStarted_ && endOfFile_ && endOfFileClock_.isValid()
           && endOfFileClock_.elapsed() > PlayOutDeadlineMilliseconds;
}

uint32_t TMpvBackEnd::StatusPosition(uint16_t deviceId, uint32_t &milliseconds)
{
    return ReadMilliseconds(deviceId, "time-pos", milliseconds);
}

uint32_t TMpvBackEnd::StatusLength(uint16_t deviceId, uint32_t &milliseconds)
{
    return ReadMilliseconds(deviceId, "duration", milliseconds);
}

uint32_t TMpvBackEnd::StatusTags(uint16_t deviceId, TMediaTags &tags)
{
    if (const uint32_t checked = Check(deviceId))
        return checked;
    mpv_node metadata{};
    const int result = mpv_->getProperty(handle_, "metadata", MPV_FORMAT_NODE, &metadata);
    if (result < 0)
        return EngineErrorBase + uint32_t(-result);
    tags = TMediaTags();
    if (metadata.format == MPV_FORMAT_NODE_MAP && metadata.u.list && metadata.u.list->keys) {
        const mpv_node_list &entries = *metadata.u.list;
        // Containers name their tags in either case ("title", "TITLE"); the first of a name wins.
        const std::pair<const char *, QString *> wanted[] = {
            {"title", &tags.Title}, {"artist", &tags.Artist}, {"album", &tags.Album}};
        for (int entry = 0; entry < entries.num; ++entry) {
            const mpv_node &value = entries.values[entry];
            if (value.format != MPV_FORMAT_STRING || !value.u.string || !entries.keys[entry])
                continue;
            for (const auto &[name, text] : wanted)
                if (text->isEmpty() && ::strcasecmp(entries.keys[entry], name) == 0)
                    *text = QString::fromUtf8(value.u.string);
        }
    }
    mpv_->freeNodeContents(&metadata);
    return Success;
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

void TMpvBackEnd::ObserveAnew(const char *property, uint64_t &observation, bool &value)
{
    mpv_->unobserveProperty(handle_, observation);
    observation = ++lastObservation_;
    value = false;
    mpv_->observeProperty(handle_, observation, property, MPV_FORMAT_FLAG);
}

void TMpvBackEnd::ObserveEndOfFile()
{
    ObserveAnew("eof-reached", endOfFileObservation_, endOfFile_);
    endOfFileClock_.invalidate();
}

void TMpvBackEnd::ObservePause()
{
    ObserveAnew("pause", pauseObservation_, enginePaused_);
}

void TMpvBackEnd::DrainEvents()
{
    drainQueued_ = false;
    while (handle_) {
        const mpv_event *event = mpv_->waitEvent(handle_, 0);
        if (!event || event->event_id == MPV_EVENT_NONE)
            return;
        Handle(*event);
    }
}

void TMpvBackEnd::Handle(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto *property = static_cast<const mpv_event_property *>(event.data);
        // A property that is not available (a file closing) comes with no data.
        const bool set = property && property->format == MPV_FORMAT_FLAG && property->data
                         && *static_cast<const int *>(property->data) != 0;
        if (event.reply_userdata == endOfFileObservation_) {
            if (set && !endOfFile_)
                endOfFileClock_.start();
            endOfFile_ = set;
        } else if (event.reply_userdata == pauseObservation_) {
            enginePaused_ = set;
        }
        CheckPlayedOut();
        break;
    }
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        if (!end || end->playlist_entry_id != loadedEntry_ || loadedPath_.isEmpty())
            break;
        if (end->reason == MPV_END_FILE_REASON_EOF && handedEntry_ > 0) {
            CarryOn();
            break;
        }
        if (carrying_) {
            // What carried on could not be played (or named other files, which are never
            // played): the engine stops, and the player's Open of it tells why.
            carrying_ = false;
            carryTimer_.stop();
            Command({"stop"});
        }
        loadedPath_.clear();
        MediumEnded();
        break;
    }
    case MPV_EVENT_IDLE:
        MediumEnded();
        break;
    case MPV_EVENT_CLIENT_MESSAGE:
        HandleMessage(static_cast<const mpv_event_client_message *>(event.data));
        break;
    case MPV_EVENT_VIDEO_RECONFIG:
        ClaimVideoWindows(applicationId_);
        // A new video comes to the front, above the window it was started from.
        if (std::exchange(raiseVideo_, false))
            RaiseVideoUnlessBlocked();
        break;
    case MPV_EVENT_SHUTDOWN:
        // The engine ended itself; the next Open starts a new one.
        MediumEnded();
        StopEngine();
        break;
    default:
        break;
    }
}

void TMpvBackEnd::HandleMessage(const mpv_event_client_message *message)
{
    const QList<QByteArray> arguments = MessageArguments(message);
    if (arguments.isEmpty())
        return;
    // The player acts on the next turn: what it does (an Open) reads the engine's events again,
    // which ends the life of this one.
    if (arguments[0] == CloseWindowMessage) {
        videoHidden_ = true;
        mpv_->setPropertyString(handle_, "vid", "no");
        QMetaObject::invokeMethod(this, [this] { WindowCloseRequest(); }, Qt::QueuedConnection);
    } else if (arguments.size() == 2 && arguments[0] == VideoKeyMessage) {
        for (const TVideoKeyBinding &binding : VideoKeyBindings)
            if (arguments[1] == binding.Name)
                QMetaObject::invokeMethod(this, [this, key = binding.Key] { VideoKeyPressed(key); },
                                          Qt::QueuedConnection);
    }
}

void TMpvBackEnd::RaiseVideoUnlessBlocked()
{
    QWindow *modal = QGuiApplication::modalWindow();
    if (!modal) {
        RaiseVideoWindows();
        return;
    }
    // A box or dialog the user answers stays in front with the focus; the video comes forward
    // once it is closed. The window manager may give a new window the focus as it maps it.
    raiseWhenUnblocked_ = true;
    const QPointer<QWindow> blocking(modal);
    for (const int delay : {0, 150, 400})
        QTimer::singleShot(delay, this, [blocking] {
            if (blocking && blocking == QGuiApplication::modalWindow()) {
                blocking->raise();
                blocking->requestActivate();
            }
        });
}

void TMpvBackEnd::RaiseWhenUnblocked()
{
    if (raiseWhenUnblocked_ && !QGuiApplication::modalWindow() && handle_) {
        raiseWhenUnblocked_ = false;
        RaiseVideoWindows();
    }
}

void TMpvBackEnd::CheckPlayedOut()
{
    // The engine pauses itself at the end once its audio output has played everything. Sent to
    // the very end before its sound started, it pauses there without ever reporting the end.
    if (state_ == TState::Playing && soundStarted_ && enginePaused_ && (endOfFile_ || AtTheEnd()))
        MediumEnded();
}

bool TMpvBackEnd::AtTheEnd() const
{
    double position = 0, length = 0;
    return mpv_->getProperty(handle_, "time-pos", MPV_FORMAT_DOUBLE, &position) >= 0
           && mpv_->getProperty(handle_, "duration", MPV_FORMAT_DOUBLE, &length) >= 0 && length > 0
           && position >= length - 0.001;
}

void TMpvBackEnd::MediumEnded()
{
    if (deviceId_ == 0 || ended_)
        return;
    ended_ = true;
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
