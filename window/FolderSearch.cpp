// Media > Search, and folders handed over by the desktop: the walk of a folder tree fills the
// list and the random pool while the window stays alive but takes no commands.

#include "window/TFormMediaPlayer.h"

#include "controls/TOECheckListBox.h"
#include "errorreport/TOstrelApplication.h"
#include "dialogs/TDeferredDialogs.h"
#include "medialist/ByteText.h"
#include "medialist/FolderWalk.h"
#include "medialist/ListFileErrors.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTimer>
#include <cerrno>
#include <unistd.h>
#include <utility>

namespace {

// Found paths go to the list and the random pool in batches, with a repaint in between
// (the first right away), so that the window stays alive during a long search.
class TFoundFiles {
public:
    explicit TFoundFiles(TFormMediaPlayer &form) : form_(form) { }
    ~TFoundFiles() { Flush(); }
    void Add(const QByteArray &path)
    {
        found_.append(path);
        if (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= 200) {
            Flush();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceRepaint_.start();
        }
    }

private:
    void Flush()
    {
        form_.AddEntries(found_);
        found_.clear();
    }

    TFormMediaPlayer &form_;
    QList<QByteArray> found_;
    QElapsedTimer sinceRepaint_;
};

// While it lives, the window is searching: boxes are held back and shown when it ends.
class TSearching {
public:
    explicit TSearching(bool &searching) : searching_(searching), dialogs_(UserDialogs())
    {
        searching_ = true;
        TOstrelApplication::Instance().SetDialogs(held_);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TSearching()
    {
        QApplication::restoreOverrideCursor();
        TOstrelApplication::Instance().SetDialogs(dialogs_);
        searching_ = false;
        held_.Release(dialogs_);
    }

private:
    bool &searching_;
    TUserDialogs &dialogs_;
    TDeferredDialogs held_;
};

} // namespace

void TFormMediaPlayer::RunSearch(const std::function<void(const std::function<void(const QByteArray &)> &add)> &walk)
{
    {
        const TSearching searching(FSearching);
        // The whole search is one change for Undo, however many batches it adds.
        BeginListChange(lbFiles->Count());
        const auto changed = qScopeGuard([this] { EndListChange(); });
        TFoundFiles found(*this);
        walk([&found](const QByteArray &path) { found.Add(path); });
    }
    for (const std::function<void()> &request : std::exchange(FAfterSearch, {}))
        QTimer::singleShot(0, this, [request] { Guarded(request); });
}

void TFormMediaPlayer::SearchMediaFiles(const QString &pattern)
{
    const QByteArray folder = TextBytes(WorkingFolder());
    RunSearch([&](const std::function<void(const QByteArray &)> &add) {
        try {
            WalkFolder(folder, pattern.toLatin1().split(';'), add);
        } catch (...) {
            // The walk ends at its first error; what it found so far stays.
        }
    });
    // The process's current folder ends in the searched folder, which must still be there.
    if (::chdir(folder.constData()) != 0)
        throw EInOutError::FromErrno(errno);
}
