#pragma once

#include "medialist/ListType.h"
#include "window/TPlayerSettings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <thread>

class QTimer;
class TFormMediaPlayer;

// With Auto Save checked, what a close would save reaches the disk soon after it changes, not
// only at closing: a second after the last change, at most four while changes go on, looked
// for once a second. The window's state is taken on this thread (the list as a snapshot) and
// written on a worker, one save at a time, in the same bytes as the window's own save. For a
// long list the saves space out, so that writing takes at most a hundredth of the time. A
// background save that fails tells no one and is tried again half a minute later; a save of
// the window's own reports as it always has.
//
// The settings and the list file are followed apart: each is written only when it changed.
// The list changes with its entries, its file and its type, and, in a format that keeps them,
// its marks; a list of another player's format is not written for a mark.
class TAutoSaver : public QObject {
    Q_OBJECT

public:
    explicit TAutoSaver(TFormMediaPlayer &form);
    ~TAutoSaver() override;

    // Waits for a background save under way and takes its outcome: before a save of the
    // window's own, a Delete, the end, and when the worker says it is done.
    void Settle();
    // The window's state is what is on disk now: at start-up, after a list was loaded (or
    // failed to load) or made new.
    void Saved();
    // The settings, or the list file, as they are now were written by the window's own save.
    void SettingsSaved();
    void ListSaved();
    // Whether they are still what was last saved, loaded or made new.
    bool SettingsUnchanged();
    bool ListUnchanged();

private:
    struct TListState {
        QString File;
        TListType Type = TListType::Oml;
        uint64_t Revision = 0; // of the texts, and of the marks where the format keeps them
        bool operator==(const TListState &) const = default;
    };
    struct TState {
        TPlayerSettings Settings;
        TListState List;
        bool operator==(const TState &) const = default;
    };
    struct TResult {
        bool SettingsWritten;
        bool ListWritten;
        bool Failed;
        qint64 Milliseconds;
        TState State;
    };

    TState Current() const;
    TListState CurrentList() const;
    void Check();
    void Start(const TState &state);

    TFormMediaPlayer &form_;
    QTimer *ticks_;
    QElapsedTimer clock_; // monotonic: a clock set back changes nothing
    std::optional<TPlayerSettings> writtenSettings_;
    std::optional<TListState> writtenList_;
    std::optional<TState> seen_;
    qint64 firstChange_ = 0;
    qint64 lastChange_ = 0;
    qint64 notBefore_ = 0;
    std::thread worker_;
    std::optional<TResult> result_; // set by the worker before it tells this thread
};
