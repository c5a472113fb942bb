#include "TDesktopFixture.h"
#include "TDisplayLossChild.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace {

using TDisplayLossTest = TDesktopFixture;

TEST_F(TDisplayLossTest, WhenTheXServerGoesAwayDuringAVideoTheListIsSavedWithItsPlayedMark)
{
    const QByteArray video = QFile::encodeName(QStringLiteral(TEST_DATA "/tiny.mov"));
    const QString list = folder.path() + "/default-List.oml";
    for (int run = 0; run < 3; ++run) {
        QFile file(list);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0\r\n" + video + "\r\n");
        file.close();
        TXvfbServer display;
        ASSERT_EQ(display.Start(), QString());
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel); // its messages, should it fail
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display.Display()));
        child.setProcessEnvironment(environment);
        child.setWorkingDirectory(folder.path());
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(PlayUntilTheDisplayGoesOption)});
        ASSERT_TRUE(child.waitForReadyRead(10000)) << run;
        ASSERT_EQ(child.readLine(), "playing\n");
        display.Stop();
        ASSERT_TRUE(child.waitForFinished(5000)) << run << ": the player hung when its display went away";
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "1\r\n" + video + "\r\n") << run;
        file.close();
        EXPECT_TRUE(QFile::exists(folder.path() + "/config/Ostrel/registry.db")) << run;
        QFile::remove(folder.path() + "/config/Ostrel/registry.db");
    }
}

} // namespace
