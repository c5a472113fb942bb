#include "window/TAutoSaver.h"

#include "controls/TOECheckListBox.h"
#include "medialist/MediaListFile.h"
#include "window/TFormMediaPlayer.h"

#include <QTimer>
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

TAutoSaver::TState TAutoSaver::Current() const
{
    return {form_.CurrentSettings(int(form_.ListType())), form_.ListFilePath(),
            form_.lbFiles->MediaEntries().Revision()};
}

void TAutoSaver::Saved()
{
    Settle(); // a save under way must not report an older state as written after this one
    written_ = seen_ = Current();
}

bool TAutoSaver::Unchanged()
{
    Settle();
    return written_ && *written_ == Current();
}

void TAutoSaver::Check()
{
    if (!form_.AutoSave() || !written_ || form_.FClosing)
        return;
    const qint64 now = clock_.elapsed();
    const TState state = Current();
    if (state != seen_) {
        if (seen_ == written_)
            firstChange_ = now;
        lastChange_ = now;
        seen_ = state;
    }
    const bool due = state != written_ && (now - lastChange_ >= QuietMs || now - firstChange_ >= LongestWaitMs);
    if (due && now >= notBefore_ && !worker_.joinable() && form_.MayWriteListFile())
        Start(state);
}

void TAutoSaver::Start(const TState &state)
{
    worker_ = std::thread([this, state, type = form_.ListType(), list = form_.lbFiles->MediaEntries().Snapshot(),
                           resume = form_.CurrentResumePoint()] {
        QElapsedTimer writing;
        writing.start();
        bool written = true;
        try {
            state.Settings.Write();
            if (resume)
                resume->Write();
            MediaListFile::Save(type, state.ListFile, list);
        } catch (...) {
            written = false;
        }
        result_ = TResult{written, writing.elapsed(), state};
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
    if (result.Written) {
        written_ = result.State;
        notBefore_ = now + result.Milliseconds * (TimePerWrite - 1);
    } else {
        notBefore_ = now + RetryMs;
    }
}
