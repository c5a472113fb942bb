// Files from the desktop the real way: the program started with files, a second start that
// hands its own to the running player over a private session bus, and a drag from another
// program on the same X server.

#include "TListMarks.h"
#include "TPlayerctl.h"
#include "TPrivateBus.h"
#include "TRunningPlayerFixture.h"
#include "TXWindows.h"
#include "controls/TOECheckListBox.h"
#include "desktop/THandOverService.h"
#include "window/TPlayerSettings.h"

#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QtEndian>
#include <fcntl.h>
#include <unistd.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 HandOverDeadlineMs = 3000; // the sanitizers slow every start
#else
constexpr qint64 HandOverDeadlineMs = 1000;
#endif

// The sockets of the process that take connections (a listening Unix socket, a TCP port) or
// datagrams from anyone (a UDP port), as "kind inode" lines: a way in other than the bus.
QStringList OpenDoors(qint64 pid)
{
    QSet<QString> inodes;
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString &fd : fds.entryList(QDir::NoDotAndDotDot | QDir::System)) {
        const QString target = QFile::symLinkTarget(fds.filePath(fd));
        static const QRegularExpression socket(QStringLiteral("socket:\\[(\\d+)\\]$"));
        if (const QRegularExpressionMatch match = socket.match(target); match.hasMatch())
            inodes << match.captured(1);
    }
    QStringList doors;
    const auto scan = [&](const QString &table, int inodeColumn, const std::function<bool(const QStringList &)> &open) {
        QFile file(table);
        if (!file.open(QIODevice::ReadOnly))
            return;
        file.readLine(); // the heading
        while (!file.atEnd()) {
            const QStringList columns = QString::fromLatin1(file.readLine()).simplified().split(' ');
            if (columns.size() > inodeColumn && inodes.contains(columns[inodeColumn]) && open(columns))
                doors << table + ' ' + columns[inodeColumn];
        }
    };
    scan("/proc/net/unix", 6, [](const QStringList &columns) { return columns[3] == "00010000"; }); // accepting
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"})
        scan(table, 9, [](const QStringList &columns) { return columns[3] == "0A"; }); // listening
    for (const char *table : {"/proc/net/udp", "/proc/net/udp6"})
        scan(table, 9, [](const QStringList &) { return true; });
    return doors;
}

using TRunningPlayerTest = TRunningPlayerFixture;

TEST_F(TRunningPlayerTest, StartedWithAFileItPlaysItAndASecondStartHandsItsFilesOverAndEnds)
{
    const QString list = folder.File("handed.oml");
    folder.WriteFile("handed.oml", Entry(true, folder.File("media/three.wav")));
    TPlayerSettings{100, 100, 573, 400, 1, true, false, true, true, list, 0, 0}.Write();
    QProcess first;
    Start(first, {"media/one.wav"});
    EXPECT_EQ(AskUntil({"metadata", "xesam:url"}, Url("media/one.wav")), Url("media/one.wav"));
    EXPECT_EQ(AskUntil({"status"}, "Playing"), "Playing");

    QProcess second;
    QElapsedTimer clock;
    clock.start();
    Start(second, {"media/two.wav", folder.File("media/three.wav"), "media/sub", "missing.mp3"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
    const qint64 took = clock.elapsed();
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAll(), QByteArray()) << "printed";
    EXPECT_EQ(second.readAllStandardError(), QByteArray()) << "printed";
    EXPECT_LT(took, HandOverDeadlineMs);

    EXPECT_EQ(AskUntil({"metadata", "xesam:url"}, Url("media/two.wav")), Url("media/two.wav"));
    EXPECT_EQ(Ask({"status"}), "Playing");
    Ask({"pause"});
    EXPECT_EQ(MainWindows(), QStringList({"Ostrel Media Player - " + list}));
    EXPECT_EQ(OpenDoors(first.processId()), QStringList()) << "the session bus is the only way in";
    // The missing name is told in a box that belongs to the main window.
    uint32_t box = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = windows.FindMapped("Ostrel Media Player")) != 0; }, 5000));
    const uint32_t main = windows.FindMapped("Ostrel Media Player - " + list);
    EXPECT_TRUE(TXWindows::Xprop(box, "WM_TRANSIENT_FOR").endsWith(QString("# 0x%1").arg(main, 0, 16)))
        << TXWindows::Xprop(box, "WM_TRANSIENT_FOR").toStdString();
    windows.RequestClose(box);
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.FindMapped("Ostrel Media Player") == 0; }, 5000));

    ASSERT_TRUE(Quit(first));
    EXPECT_EQ(folder.ReadFile("handed.oml"),
              Entry(true, folder.File("media/three.wav")) + Entry(true, folder.File("media/one.wav"))
                  + Entry(true, folder.File("media/two.wav")) + Entry(false, folder.File("media/three.wav"))
                  + Entry(false, folder.File("media/sub/four.wav")));
}

TEST_F(TRunningPlayerTest, FilesOpenedWhileTheFirstStartShowsItsBoxWaitForItsWindow)
{
    QProcess first;
    Start(first, {}); // no list file yet: its start-up box comes before the window
    uint32_t box = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = windows.FindMapped("Ostrel Media Player")) != 0; }, 8000));
    for (const char *name : {"media/one.wav", "media/two.wav"}) {
        QProcess second;
        QElapsedTimer clock;
        clock.start();
        Start(second, {name});
        ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
        EXPECT_LT(clock.elapsed(), HandOverDeadlineMs);
        EXPECT_EQ(second.exitCode(), 0);
    }
    EXPECT_EQ(MainWindows(), QStringList()) << "no window until the box is answered";
    windows.RequestClose(box);
    EXPECT_EQ(AskUntil({"metadata", "xesam:url"}, Url("media/two.wav")), Url("media/two.wav"));
    EXPECT_EQ(Ask({"status"}), "Playing");
    const QString list = folder.File("default-List.oml");
    EXPECT_EQ(MainWindows(), QStringList({"Ostrel Media Player - " + list}));
    ASSERT_TRUE(Quit(first));
    EXPECT_EQ(folder.ReadFile("default-List.oml"),
              Entry(true, folder.File("media/one.wav")) + Entry(true, folder.File("media/two.wav")));
}

TEST_F(TRunningPlayerTest, AnotherPlayersPlaylistOnTheCommandLineAddsAndPlaysItsEntries)
{
    folder.WriteFile("media/mix.m3u8",
                     "#EXTM3U\n#EXTINF:30,Two\ntwo.wav\nsub/four.wav\nhttps://stream.example/live.mp3\n");
    folder.WriteFile("mine.oml", "");
    TPlayerSettings{100, 100, 573, 400, 1, true, false, true, true, folder.File("mine.oml"), 0, 0}.Write();
    QProcess player;
    Start(player, {"media/mix.m3u8"});
    EXPECT_EQ(AskUntil({"metadata", "xesam:url"}, Url("media/two.wav")), Url("media/two.wav"));
    EXPECT_EQ(Ask({"status"}), "Playing");
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.FindMapped("Ostrel Media Player") != 0; }, 5000))
        << "the box naming the stream";
    windows.RequestClose(windows.FindMapped("Ostrel Media Player"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.FindMapped("Ostrel Media Player") == 0; }, 5000));
    ASSERT_TRUE(Quit(player));
    EXPECT_EQ(folder.ReadFile("mine.oml"),
              Entry(true, folder.File("media/two.wav")) + Entry(false, folder.File("media/sub/four.wav")));
}

TEST_F(TRunningPlayerTest, WithoutARunningPlayerTheFirstStartIsAnOrdinaryOneThatTellsWhatItLeftOut)
{
    // By its bytes: Qt's names are text, and this name is none.
    const int odd
        = ::open((QFile::encodeName(folder.path()) + "/media/odd\xff.wav").constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(odd, 0);
    const QByteArray wave = SilentWave(30000);
    ASSERT_EQ(::write(odd, wave.constData(), size_t(wave.size())), wave.size());
    ::close(odd);
    folder.WriteFile("empty.oml", "");
    TPlayerSettings{100, 100, 573, 400, 1, true, false, true, true, folder.File("empty.oml"), 0, -1}.Write();
    QProcess player;
    Start(player,
          {QString::fromLatin1("file://") + QUrl::toPercentEncoding(QFile::encodeName(folder.path()), "/")
               + "/media/odd%FF.wav",
           "nothing-here.wav"});
    const QString oddUrl
        = "file://" + QUrl::toPercentEncoding(QFile::encodeName(folder.path()), "/") + "/media/odd%FF.wav";
    EXPECT_EQ(AskUntil({"metadata", "xesam:url"}, oddUrl), oddUrl) << "the name's bytes, kept";
    EXPECT_EQ(AskUntil({"status"}, "Playing"), "Playing");
    EXPECT_TRUE(QTest::qWaitFor([&] { return windows.FindMapped("Ostrel Media Player") != 0; }, 5000));
    EXPECT_EQ(MainWindows().size(), 1);
    player.terminate();
    player.waitForFinished(5000);
}

// A second start of the real program, handing its files to this process's window.
class THandOverToWindowTest : public TShownFormFixture {
protected:
    void SetUp() override
    {
        TShownFormFixture::SetUp();
        if (IsSkipped())
            return;
        ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
        service = std::make_unique<THandOverService>(form->PlayerControl(), bus.Connect(QStringLiteral("player")));
    }
    // Runs the program to its end, answering its call meanwhile; its exit code, or -1.
    int SecondStart(const QStringList &arguments)
    {
        QProcess second;
        second.setProcessEnvironment(bus.Environment());
        second.setWorkingDirectory(folder.path());
        second.start(QStringLiteral(OSTREL_PLAYER), arguments);
        if (!QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000))
            return -1;
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }

    // Drags what the source program is given from its window to the middle of the list and
    // drops it there, waiting for done() after; how the source saw the drop end.
    QString Drag(const QStringList &sourceArguments, const std::function<bool()> &done)
    {
        QProcess source;
        source.start(QStringLiteral(DRAG_SOURCE), sourceArguments);
        TXWindows windows;
        uint32_t sourceWindow = 0;
        if (!QTest::qWaitFor([&] { return (sourceWindow = windows.FindMapped("drag source")) != 0; }, 5000))
            return "no source window";
        const QPoint from = windows.Geometry(sourceWindow).center();
        const QPoint to = form->lbFiles->viewport()->mapToGlobal(form->lbFiles->viewport()->rect().center());
        Xdotool({"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"});
        for (int step = 1; step <= 10; ++step) {
            const QPoint at = from + (to - from) * step / 10;
            Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
            QTest::qWait(30);
        }
        Xdotool({"mouseup", "1"});
        (void)QTest::qWaitFor([&] { return source.canReadLine(); }, 5000);
        const QString ended = QString::fromUtf8(source.readLine().trimmed());
        // The target asks the source for the data after the drop.
        (void)QTest::qWaitFor(done, 3000);
        source.kill();
        source.waitForFinished(1000);
        return ended;
    }
    static void Xdotool(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), arguments);
        EXPECT_TRUE(QTest::qWaitFor([&] { return tool.state() == QProcess::NotRunning; }, 5000) && tool.exitCode() == 0)
            << arguments.join(' ').toStdString();
    }

    TPrivateBus bus;
    std::unique_ptr<THandOverService> service;
};

TEST_F(THandOverToWindowTest, WhileABoxIsOpenTheFilesWaitAndTheMessageNamesWhatIsMissing)
{
    folder.WriteFile("a.wav", SilentWave(1000));
    QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("A box of the player"), QMessageBox::Ok, form.get());
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(SecondStart({"a.wav", "missing.mp3"}), 0);
    EXPECT_LT(clock.elapsed(), HandOverDeadlineMs);
    QTest::qWait(200);
    EXPECT_EQ(form->lbFiles->Count(), 0) << "added under the box";
    box.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->Count() == 1; }, 3000));
    EXPECT_EQ(form->lbFiles->Text(0), QFile::encodeName(folder.File("a.wav")));
    EXPECT_EQ(dialogs.Messages, QStringList({"Not added to the media list:\nmissing.mp3: no such file or folder"}));
}

TEST_F(THandOverToWindowTest, ThousandsOfNamesAndTheLongestArgumentPassOver)
{
    form->lbFiles->Append(QList<QByteArray>{"/old/one.mp3"});
    form->lbFiles->SetChecked(0, true);
    QStringList names;
    QList<QByteArray> expected{"/old/one.mp3"};
    for (int i = 0; i < 3000; ++i) {
        const QString name = QStringLiteral("%1.wav").arg(i);
        folder.WriteFile(name, i == 0 ? SilentWave(1000) : QByteArray()); // the first one plays
        names << name;
        expected << QFile::encodeName(folder.File(name));
    }
    // The kernel takes no single argument longer than 128 KiB.
    names.insert(1500, QString(128 * 1024 - 1, 'y'));
    EXPECT_EQ(SecondStart(names), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->Count() == 3001 && !dialogs.Messages.isEmpty(); }, 10000));
    EXPECT_EQ(form->lbFiles->Texts(), expected);
    QList<bool> marks(3001, false);
    marks[0] = marks[1] = true; // the old mark, and the first one added, which plays
    EXPECT_EQ(ListMarks(form->lbFiles->MediaEntries()), marks);
    EXPECT_EQ(dialogs.Messages,
              QStringList({"Not added to the media list:\n" + QString(80, 'y') + QChar(0x2026) + QString(80, 'y')
                           + ": file name too long"}));
}

TEST_F(THandOverToWindowTest, ADragFromAnotherProgramDropsFilesAndAFolderOnTheList)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "xdotool is not installed";
    ASSERT_TRUE(QDir(folder.path()).mkpath("dropped/inner"));
    folder.WriteFile("b.wav", SilentWave(1000));
    folder.WriteFile("dropped/inner/c.mp3", "");
    folder.WriteFile("dropped/d.mov", "");
    const auto uri
        = [&](const char *name) { return QUrl::fromLocalFile(folder.File(name)).toString(QUrl::FullyEncoded); };

    EXPECT_EQ(Drag({"--urls", uri("b.wav"), uri("dropped")}, [&] { return form->lbFiles->Count() == 3; }), "copy");
    EXPECT_EQ(form->lbFiles->Texts(),
              QList<QByteArray>({QFile::encodeName(folder.File("b.wav")),
                                 QFile::encodeName(folder.File("dropped/inner/c.mp3")),
                                 QFile::encodeName(folder.File("dropped/d.mov"))}));
    EXPECT_FALSE(form->Playing()) << "a drop plays nothing";
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();

    EXPECT_EQ(Drag({"--text", folder.File("b.wav")}, [] { return true; }), "ignore");
    EXPECT_EQ(Drag({"--urls", "https://example.com/e.mp3"}, [] { return true; }), "ignore");
    EXPECT_EQ(form->lbFiles->Count(), 3);
}

} // namespace
