#pragma once

#include "desktop/TPlayerControl.h"

#include <QWidget>

class QLabel;
class TJumpSlider;

// The right part of the status bar once something has played: what plays, elapsed and total
// time, a position slider and a volume slider. It shows the player's state when told to
// (the window does so after every command and each tick of its poll) and drives the player
// through its control interface, so that a seek or a volume change passes the command gate.
class TNowPlayingBar : public QWidget {
    Q_OBJECT

public:
    // Keyboard steps of the position slider.
    static constexpr int PositionStepMs = 5000;

    TNowPlayingBar(TPlayerControl &player, QWidget *parent);

    // Reads what plays, the time and the volume anew.
    void Refresh();
    // The colours of what plays and of the time; the sliders keep the desktop's, which stay
    // readable on any background.
    void SetTextColours(const QColor &background, const QColor &text);

    QString Title() const { return title_; }
    QString TimeText() const;
    TJumpSlider *Position() const { return position_; }
    TJumpSlider *Volume() const { return volume_; }

protected:
    // The title's label is resized by the bar's layout whenever the time's text changes width,
    // without the bar itself being resized: its text is cut to the room it has then.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowTitle();

    TPlayerControl &player_;
    QString title_;
    TPlayerControl::TTrackTags tags_;
    QByteArray entry_;
    QLabel *titleLabel_;
    QLabel *time_;
    TJumpSlider *position_;
    TJumpSlider *volume_;
};
