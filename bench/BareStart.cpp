// The floor of a second start: a Qt program that connects to the display and ends.

#include <QApplication>

int main(int argc, char **argv)
{
    const QApplication application(argc, argv);
    return 0;
}
