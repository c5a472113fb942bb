#pragma once

#include "desktop/TPlayerControl.h"

#include <QList>

class QTimer;

class TFormMediaPlayer;

// The main window as callers outside it drive it: each command runs the window's overridable
// handler of the button or menu item, with that component as the sender, through the window's
// command gate.
class TWindowPlayerControl : public TPlayerControl {
    Q_OBJECT

public:
    explicit TWindowPlayerControl(TFormMediaPlayer &form);

    bool AcceptsCommands() const override;

    void Play() override;
    void Pause() override;
    void PlayPause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    void SeekTo(qint64 milliseconds) override;
    void SetVolume(double volume) override;
    void Quit() override;
    void Raise() override;
    void SetShuffle(bool on) override;
    void Open(const THandOver &handOver, bool playFirst) override;

    TPlayState PlayState() const override;
    std::optional<QByteArray> CurrentEntry() const override;
    qint64 LengthMs() const override;
    TTrackTags Tags() const override;
    qint64 PositionMs() const override;
    double Volume() const override;
    bool HasEntries() const override;
    bool MediumOpen() const override;
    bool Shuffle() const override;

private:
    // Runs the held hand-overs once nothing covers the window; looks again a little later
    // while something does.
    void OpenHeld();

    struct THeldHandOver {
        THandOver HandOver;
        bool PlayFirst;
    };
    TFormMediaPlayer &form_;
    QList<THeldHandOver> held_;
    QTimer *retry_;
};
