#include "window/TListDropTarget.h"

#include "desktop/HandOver.h"
#include "desktop/TPlayerControl.h"
#include "window/TFormMediaPlayer.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <algorithm>

TListDropTarget::TListDropTarget(TFormMediaPlayer &form, QWidget &surface) : QObject(&surface), form_(form)
{
    surface.setAcceptDrops(true);
    surface.installEventFilter(this);
}

bool TListDropTarget::Acceptable(const QDropEvent &event) const
{
    if ( !form_.AcceptsCommands() || !event.mimeData()->hasUrls())
        return false;
    const QList<QUrl> urls = event.mimeData()->urls();
    return !urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

bool TListDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    // A drag from within the player (a row of the list) is the list's own affair.
    const bool dragEvent = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove
                           || event->type() == QEvent::Drop;
    if (dragEvent && static_cast<QDropEvent *>(event)->source()) {
        if (form_.AcceptsCommands())
            return false;
        event->ignore();
        return true;
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (Acceptable(*drag)) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!Acceptable(*drop)) {
            drop->ignore();
            return true;
        }
        QList<QByteArray> uris;
        for (const QUrl &url : drop->mimeData()->urls())
            uris << url.toEncoded();
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        form_.PlayerControl().Open(HandOverOf(uris, {}), false);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
