#pragma once

#include <QObject>

class QDropEvent;
class QMimeData;
class QWidget;
class TFormMediaPlayer;

// Files and folders dropped on the media list from a file manager: local file URLs join the
// list as a hand-over from the desktop does, without playing. Other URLs, plain text, and any
// drop while the window takes no commands are refused, and the pointer shows it. A row dragged
// within the list is left to the list, which moves it.
class TListDropTarget : public QObject {
    Q_OBJECT

public:
    TListDropTarget(TFormMediaPlayer &form, QWidget &surface);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Acceptable(const QDropEvent &event) const;

    TFormMediaPlayer &form_;
};
