// A file manager's part in a drag, as a program of its own on the test's X server: a small
// window at the screen's top left that starts dragging what it was given when a mouse button
// is pressed on it, then prints how the drop ended ("copy", "move" or "ignore").
// Usage: ostrel_drag_source --urls URI... | --text TEXT

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class TDragSource : public QWidget {
public:
    explicit TDragSource(QStringList arguments) : arguments_(std::move(arguments))
    {
        setWindowTitle(QStringLiteral("drag source"));
        setGeometry(0, 0, 120, 120);
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *drag = new QDrag(this);
        auto *dragged = new QMimeData;
        if (arguments_.value(0) == QLatin1String("--text")) {
            dragged->setText(arguments_.value(1));
        } else {
            QList<QUrl> urls;
            for (const QString &uri : arguments_.mid(1))
                urls << QUrl::fromEncoded(uri.toLatin1());
            dragged->setUrls(urls);
        }
        drag->setMimeData(dragged);
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction);
        std::printf("%s\n", action == Qt::CopyAction ? "copy" : action == Qt::MoveAction ? "move" : "ignore");
        std::fflush(stdout);
        // As a file manager does, it stays a while to hand the data to the target, which asks
        // for it after the drop.
        QTimer::singleShot(3000, qApp, &QApplication::quit);
    }

private:
    QStringList arguments_;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    TDragSource source(application.arguments().mid(1));
    source.show();
    return application.exec();
}
