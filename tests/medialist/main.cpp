#include <QCoreApplication>
#include <gtest/gtest.h>

// The list's core needs no window system; an application object only for child processes.
int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
