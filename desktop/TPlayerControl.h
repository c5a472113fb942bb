#pragma once

#include "desktop/HandOver.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

// What a caller outside the main window may ask of the player and observe of it: the
// desktop's media controls now, files handed over by another process, drops and the end of
// the session next. A command runs as the window's own handler runs for a click (an override
// counts, its messages appear) and does nothing while a box, a dialog or a search covers the
// window. The window owns the object: a caller that may outlive the window holds a QPointer.
class TPlayerControl : public QObject {
    Q_OBJECT

public:
    enum class TPlayState { Stopped, Playing, Paused };
    // What the open medium's tags say of it, one line each; empty where they say nothing.
    struct TTrackTags {
        QString Title;
        QString Artist;
        QString Album;
        bool operator==(const TTrackTags &) const = default;
    };

    using QObject::QObject;
    ~TPlayerControl() override;

    // False while a box, a dialog or a search covers the window: a command would do nothing.
    virtual bool AcceptsCommands() const = 0;

    virtual void Play() = 0;
    virtual void Pause() = 0;
    // Pauses while the medium plays, plays otherwise; decided when it runs.
    virtual void PlayPause() = 0;
    virtual void Stop() = 0;
    virtual void Next() = 0;
    virtual void Previous() = 0;
    // Within the open medium; its end, or a position past it, moves on to the next entry.
    virtual void SeekTo(qint64 milliseconds) = 0;
    // From 0 (silent) to 1 (full), as the engine takes it.
    virtual void SetVolume(double volume) = 0;
    // Closes the player as Media > Exit does, with Auto Save's save.
    virtual void Quit() = 0;
    // Brings the window forward, un-minimised, covered or not.
    virtual void Raise() = 0;
    // Chooses the play order as Options > Play Order does: Random when on, In order when off.
    virtual void SetShuffle(bool on) = 0;
    // Appends the files as Edit > Add does (unmarked entries, also in the random pool) and
    // what the folders hold as Search finds it, every media type at once; tells in one message
    // what was refused or could not be walked; then plays the first entry added, if asked to.
    // Unlike the other commands it is not dropped while the window is covered: it waits, and
    // runs once the box, dialog or search is gone.
    virtual void Open(const THandOver &handOver, bool playFirst) = 0;

    virtual TPlayState PlayState() const = 0;
    // The medium that is open, else the selected entry; nothing when there is neither.
    virtual std::optional<QByteArray> CurrentEntry() const = 0;
    // Of the open medium, in milliseconds; the length is 0 while unknown or nothing is open.
    virtual qint64 LengthMs() const = 0;
    virtual TTrackTags Tags() const = 0;
    virtual qint64 PositionMs() const = 0;
    virtual double Volume() const = 0;
    virtual bool HasEntries() const = 0;
    virtual bool MediumOpen() const = 0;
    // Whether the play order is Random.
    virtual bool Shuffle() const = 0;

signals:
    // After each command, close request, poll and completion notice: anything observed above
    // may have changed.
    void StateMayHaveChanged();
};
