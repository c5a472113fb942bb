// The reference for start-up: a bare Qt 6 window with a menu bar and a list.

#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Media"))->addAction(QStringLiteral("E&xit"));
    window.setCentralWidget(new QListWidget);
    window.resize(573, 400);
    window.show();
    return application.exec();
}
