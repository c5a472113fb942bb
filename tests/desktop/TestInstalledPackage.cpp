// The Debian package as the test command builds it (a release build of every file on its own),
// unpacked into a scratch root: its player starts on the display and ends at a close request.

#include "TDesktopFixture.h"
#include "TXWindows.h"

#include <QProcess>
#include <QTest>

namespace {

class TInstalledPackageTest : public TDesktopFixture {
protected:
    void SetUp() override
    {
        root = qEnvironmentVariable("OSTREL_PACKAGE_ROOT");
        if (root.isEmpty())
            GTEST_SKIP() << "run by the test command with the unpacked package in OSTREL_PACKAGE_ROOT";
        TDesktopFixture::SetUp();
    }

    QString root;
    TXWindows windows;
};

TEST_F(TInstalledPackageTest, ItsPlayerStartsAndEndsAtACloseRequest)
{
    const QString list = folder.File("default-List.oml");
    folder.WriteFile("default-List.oml", "0\r\n/m/a.mp3\r\n");
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", folder.path() + "/config");
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    player.setProcessEnvironment(environment);
    player.setWorkingDirectory(folder.path());
    player.start(root + "/usr/bin/ostrel", {});
    ASSERT_TRUE(player.waitForStarted());
    uint32_t window = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (window = windows.FindMapped("Ostrel Media Player - " + list)) != 0; },
                                10000))
        << player.readAllStandardError().toStdString();
    windows.RequestClose(window);
    ASSERT_TRUE(player.waitForFinished(10000));
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 0) << player.readAllStandardError().toStdString();
    EXPECT_EQ(folder.ReadFile("default-List.oml"), "0\r\n/m/a.mp3\r\n") << "saved at the close, as it was";
}

} // namespace
