// The floor for start-up with a list: a bare Qt 6 window with a menu bar and a list view over
// a string list model holding the names of the OML list file given.

#include <QApplication>
#include <QFile>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QStringListModel>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QStringList names;
    if (argc > 1) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (file.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> lines = file.readAll().split('\n');
            for (qsizetype i = 1; i < lines.size(); i += 2)
                names << QString::fromUtf8(lines[i].chopped(lines[i].endsWith('\r') ? 1 : 0));
        }
    }
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Media"))->addAction(QStringLiteral("E&xit"));
    auto *view = new QListView;
    view->setUniformItemSizes(true);
    view->setModel(new QStringListModel(names, view));
    window.setCentralWidget(view);
    window.resize(573, 400);
    window.show();
    return application.exec();
}
