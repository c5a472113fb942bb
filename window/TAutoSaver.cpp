#include "window/TAutoSaver.h"

#include "controls/TOECheckListBox.h"
#include "medialist/MediaListFile.h"
#include "medialist/PlaylistSource.h"
#include "window/TFormMediaPlayer.h"

#include <QTimer>
#include <memory>
#include <utility>

namespace {

constexpr qint64 QuietMs = 1000;
constexpr qint64 LongestWaitMs = 4000;
constexpr qint64 RetryMs = 30000;
// Writing takes at most this share of the time.
constexpr qint64 TimePerWrite = 100;

} // namespace

TAutoSaver::TAutoSaver(TFormMediaPlayer &form) : QObject(&form), form_(form), ticks_(new QTimer(this))
{
    clock_.start();
    ticks_->setInterval(1000);
    connect(ticks_, &QTimer::timeout, this, &TAutoSaver::Check);
    ticks_->start();
}

TAutoSaver::~TAutoSaver()
{
    Settle();
}

TAutoSaver::TListState TAutoSaver::CurrentList() const
{
    const TListType type = form_.ListType();
    const TMediaEntries &entries = form_.lbFiles->MediaEntries();
    return {form_.ListFilePath(), type, KeepsMarks(type) ? entries.Revision() : entries.TextsRevision()};
}

TAutoSaver::TState TAutoSaver::Current() const
{
    return {form_.CurrentSettings(int(form_.ListType())), CurrentList()};
}

void TAutoSaver::Saved()
{
    Settle(); // a save under way must not report an older state as written after this one
    const TState state = Current();
    writtenSettings_ = state.Settings;
    writtenList_ = state.List;
    seen_ = state;
}

void TAutoSaver::SettingsSaved()
{
    Settle();
    writtenSettings_ = Current().Settings;
}

void TAutoSaver::ListSaved()
{
    Settle();
    writtenList_ = CurrentList();
}

bool TAutoSaver::SettingsUnchanged()
{
    Settle();
    return writtenSettings_ && *writtenSettings_ == Current().Settings;
}

bool TAutoSaver::ListUnchanged()
{
    Settle();
    return writtenList_ && *writtenList_ == CurrentList();
}

void TAutoSaver::Check()
{
    if (!form_.AutoSave() || !writtenSettings_ || !writtenList_ || form_.FClosing)
        return;
    const qint64 now = clock_.elapsed();
    const TState state = Current();
    const TState written{*writtenSettings_, *writtenList_};
    if (state != seen_) {
        if (seen_ == written)
            firstChange_ = now;
        lastChange_ = now;
        seen_ = state;
    }
    const bool settingsDue = state.Settings != written.Settings;
    const bool listDue = state.List != written.List && form_.MayWriteListFile();
    const bool due = (settingsDue || listDue) && (now - lastChange_ >= QuietMs || now - firstChange_ >= LongestWaitMs);
    if (due && now >= notBefore_ && !worker_.joinable())
        Start(state);
}

void TAutoSaver::Start(const TState &state)
{
    const bool writeSettings = state.Settings != *writtenSettings_;
    const bool writeList = state.List != *writtenList_ && form_.MayWriteListFile();
    worker_ = std::thread([this, state, writeSettings, writeList, source = form_.FPlaylistSource,
                           list = form_.lbFiles->MediaEntries().Snapshot(), resume = form_.CurrentResumePoint()] {
        QElapsedTimer writing;
        writing.start();
        TResult result{false, false, false, 0, state};
        try {
            if (writeSettings) {
                state.Settings.Write();
                if (resume)
                    resume->Write();
                result.SettingsWritten = true;
            }
        } catch (...) {
            result.Failed = true; // tried again later; the list is written all the same
        }
        try {
            if (writeList) {
                MediaListFile::Save(state.List.Type, state.List.File, list, source.get());
                result.ListWritten = true;
            }
        } catch (...) {
            result.Failed = true;
        }
        result.Milliseconds = writing.elapsed();
        result_ = result;
        QMetaObject::invokeMethod(this, &TAutoSaver::Settle, Qt::QueuedConnection);
    });
}

void TAutoSaver::Settle()
{
    if (!worker_.joinable())
        return;
    worker_.join();
    const TResult result = *std::exchange(result_, std::nullopt);
    const qint64 now = clock_.elapsed();
    if (result.SettingsWritten)
        writtenSettings_ = result.State.Settings;
    if (result.ListWritten)
        writtenList_ = result.State.List;
    notBefore_ = now + (result.Failed ? RetryMs : result.Milliseconds * (TimePerWrite - 1));
}
