// Files and folders handed over by the desktop: how names and URIs are sorted out, and how
// the window takes them.

#include "TPrivateBus.h"
#include "TScriptedFormFixture.h"
#include "about/OEMPConst.h"
#include "desktop/HandOver.h"
#include "desktop/THandOverService.h"
#include "desktop/TPlayerControl.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDragEnterEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

inline void PrintTo(const THandOver::TItem &item, std::ostream *out)
{
    PrintTo(item.Path, out);
    *out << (item.Folder ? " (folder)" : "");
}

namespace {

using TItems = QList<THandOver::TItem>;

class THandOverTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        root = QFile::encodeName(folder.path());
    }

    TTempFolder folder;
    QByteArray root;
};

TEST_F(THandOverTest, NamesAreMadeFullAndKeptByteForByteWithLinksAsGiven)
{
    folder.Touch("a.mp3");
    folder.Touch("caf\xe9.wav"); // Latin-1, not UTF-8
    folder.MakeFolder("sub");
    ASSERT_EQ(::symlink("a.mp3", (root + "/link.mp3").constData()), 0);
    const THandOver handOver = HandOverOf({"a.mp3", root + "/caf\xe9.wav", "sub", "./link.mp3", "sub/../a.mp3"}, root);
    EXPECT_EQ(handOver.Items,
              TItems({{root + "/a.mp3", false},
                      {root + "/caf\xe9.wav", false},
                      {root + "/sub", true},
                      {root + "/./link.mp3", false},
                      {root + "/sub/../a.mp3", false}}));
    EXPECT_TRUE(handOver.Refused.isEmpty());
    EXPECT_EQ(HandOverOf({"a.mp3"}, root + "/").Items, TItems({{root + "/a.mp3", false}}));
}

TEST_F(THandOverTest, WhatIsNotThereOrNoRegularFileIsRefusedAndALineBreakLeftOut)
{
    folder.Touch("a.mp3");
    folder.Touch("line\nbreak.mp3");
    ASSERT_EQ(::mkfifo((root + "/pipe.wav").constData(), 0644), 0);
    ASSERT_EQ(::symlink("gone.mp3", (root + "/dangling.mp3").constData()), 0);
    const THandOver handOver = HandOverOf(
        {"missing.mp3", "pipe.wav", "/dev/null", "/proc/self/fd/0", "line\nbreak.mp3", "dangling.mp3", "a.mp3", ""},
        root);
    EXPECT_EQ(handOver.Items, TItems({{root + "/a.mp3", false}}));
    EXPECT_EQ(handOver.Refused,
              QStringList({"missing.mp3: no such file or folder", "pipe.wav: not a regular file or folder",
                           "/dev/null: not a regular file or folder", "/proc/self/fd/0: not a regular file or folder",
                           "dangling.mp3: no such file or folder", ": no such file or folder"}));
}

TEST_F(THandOverTest, OnlyLocalFileUrisAreTakenAndTheirBytesAreKept)
{
    folder.Touch("a b.mp3");
    folder.Touch("caf\xe9.wav");
    folder.MakeFolder("sub");
    const QByteArray uri = "file://" + QUrl::toPercentEncoding(root, "/");
    const THandOver handOver = HandOverOf(
        {uri + "/a%20b.mp3", "file://localhost" + QUrl::toPercentEncoding(root, "/") + "/caf%E9.wav",
         uri + "/sub/../a%20b.mp3", "FILE" + uri.mid(4) + "/sub", uri + "/sub/", "file:" + uri.mid(7) + "/a%20b.mp3"},
        "/elsewhere");
    EXPECT_EQ(handOver.Items,
              TItems({{root + "/a b.mp3", false},
                      {root + "/caf\xe9.wav", false},
                      {root + "/a b.mp3", false},
                      {root + "/sub", true},
                      {root + "/sub/", true},
                      {root + "/a b.mp3", false}}));
    EXPECT_TRUE(handOver.Refused.isEmpty());

    const THandOver refused = HandOverOf({"http://example.com/a.mp3", "file://otherhost" + uri.mid(7) + "/a%20b.mp3",
                                          uri + "/a%20b.mp3?x=1", uri + "/a%20b.mp3#t", uri + "/a%00b.mp3",
                                          "file://" + root + "/a b.mp3", "sftp://host/a.mp3"},
                                         root);
    EXPECT_TRUE(refused.Items.isEmpty());
    EXPECT_EQ(refused.Refused,
              QStringList({"http://example.com/a.mp3: not a local file",
                           QString::fromUtf8("file://otherhost" + uri.mid(7) + "/a%20b.mp3: not a local file"),
                           QString::fromUtf8(uri + "/a%20b.mp3?x=1: not a local file"),
                           QString::fromUtf8(uri + "/a%20b.mp3#t: not a local file"),
                           QString::fromUtf8(uri + "/a%00b.mp3: not a valid file name"),
                           QString::fromUtf8("file://" + root + "/a b.mp3: not a valid file name"),
                           "sftp://host/a.mp3: not a local file"}));
}

TEST_F(THandOverTest, HugeNamesAndThousandsOfThemAreRefusedInShortLines)
{
    const QByteArray huge(100 * 1024 * 1024, 'x');
    const THandOver one = HandOverOf({huge, "file:///" + huge}, root);
    EXPECT_TRUE(one.Items.isEmpty());
    ASSERT_EQ(one.Refused.size(), 2);
    EXPECT_EQ(one.Refused[0], QString(80, 'x') + QChar(0x2026) + QString(80, 'x') + ": file name too long");
    EXPECT_LT(one.Refused[1].size(), 200);

    QList<QByteArray> names;
    for (int i = 0; i < 5000; ++i)
        names << "missing-" + QByteArray::number(i) + ".mp3";
    const THandOver many = HandOverOf(names, root);
    EXPECT_EQ(many.Refused.size(), 5000);
    QString expected = "Not added to the media list:";
    for (int i = 0; i < 12; ++i)
        expected += QString("\nmissing-%1.mp3: no such file or folder").arg(i);
    expected += "\nand 4988 more";
    EXPECT_EQ(RefusedMessage(many.Refused), expected);
}

TEST(RefusalLine, ShowsBytesThatAreNoTextAndLineBreaksWithoutBreakingTheLine)
{
    EXPECT_EQ(RefusalLine("caf\xe9\n.mp3", "why"), QString::fromUtf8("caf\xef\xbf\xbd\xe2\x90\x8a.mp3: why"));
    EXPECT_EQ(RefusedMessage({"a: why"}), "Not added to the media list:\na: why");
}

// The window takes the hand-over as Add and Search would, through its control interface.
class TOpenHandOverTest : public TScriptedFormFixture {
protected:
    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        root = QFile::encodeName(folder.path());
    }

    QByteArray root;
};

TEST_F(TOpenHandOverTest, FilesAndFoldersAreAddedUnmarkedAndTheFirstAddedPlays)
{
    Fill({"/old/one.mp3", "/old/two.mp3"});
    form->lbFiles->SetChecked(1, true);
    folder.MakeFolder("music");
    folder.MakeFolder("music/inner");
    folder.MakeFolder("music/.hidden");
    folder.Touch("music/b.WAV");
    folder.Touch("music/a.mov");
    folder.Touch("music/c.avi");
    folder.Touch("music/notes.txt");
    folder.Touch("music/inner/d.mp3");
    folder.Touch("music/.hidden/e.mp3");
    folder.Touch("single.mp3");
    folder.Touch("other.txt");

    form->PlayerControl().Open(HandOverOf({"single.mp3", "music", "other.txt", "gone.mp3"}, root), true);

    const QList<QByteArray> added = {root + "/single.mp3",  root + "/music/inner/d.mp3", root + "/music/a.mov",
                                     root + "/music/b.WAV", root + "/music/c.avi",       root + "/other.txt"};
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"/old/one.mp3", "/old/two.mp3"}) + added);
    EXPECT_EQ(Marks(), QList<bool>({false, true, true, false, false, false, false, false}));
    EXPECT_EQ(form->RandomPool().Texts(), QList<QByteArray>({"/old/one.mp3", "/old/two.mp3"}) + added);
    EXPECT_EQ(form->lbFiles->ItemIndex(), 2);
    EXPECT_EQ(device.OpenFile, root + "/single.mp3");
    EXPECT_EQ(device.Mode, uint32_t(MCI_MODE_PLAY));
    EXPECT_EQ(dialogs.Messages, QStringList({"Not added to the media list:\ngone.mp3: no such file or folder"}));
}

TEST_F(TOpenHandOverTest, ADropAddsWithoutPlayingAndNothingAddedPlaysNothing)
{
    Fill({"/old/one.mp3"});
    folder.Touch("a.mp3");
    form->PlayerControl().Open(HandOverOf({"a.mp3"}, root), false);
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"/old/one.mp3", root + "/a.mp3"}));
    EXPECT_TRUE(device.Log.isEmpty());

    form->PlayerControl().Open(HandOverOf({"missing.mp3"}, root), true);
    EXPECT_EQ(form->lbFiles->Count(), 2);
    EXPECT_TRUE(device.Log.isEmpty());
    EXPECT_EQ(dialogs.Messages.size(), 1);
}

TEST_F(TOpenHandOverTest, WhileABoxCoversTheWindowTheHandOverWaitsAndThenRuns)
{
    folder.Touch("a.mp3");
    QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("A box of the player"), QMessageBox::Ok, form.get());
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    form->PlayerControl().Open(HandOverOf({"a.mp3"}, root), true);
    QTest::qWait(250);
    EXPECT_EQ(form->lbFiles->Count(), 0) << "added under the box";
    box.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->Count() == 1; }, 2000));
    EXPECT_EQ(device.OpenFile, root + "/a.mp3");
}

TEST_F(TOpenHandOverTest, ATreeTooDeepToWalkKeepsWhatWasFoundAndSaysWhereItStopped)
{
    Fill({"/old/one.mp3"});
    form->lbFiles->SetChecked(0, true);
    const QByteArray deep = root + "/deep";
    folder.MakeFolder("deep");
    folder.MakeFolder("deep/a");
    folder.Touch("deep/a/found.mp3");
    folder.Touch("deep/top.mp3");
    // A link back up is never followed, so it cannot trap the walk.
    ASSERT_EQ(::symlink("..", (deep + "/a/loop").constData()), 0);
    // Ten thousand levels, deeper than a path can name: the walk must stop with a message,
    // not hang or crash.
    ASSERT_EQ(::chdir(deep.constData()), 0);
    for (int level = 0; level < 10000; ++level)
        ASSERT_TRUE(::mkdir("level", 0755) == 0 && ::chdir("level") == 0) << level;
    ASSERT_EQ(::chdir(root.constData()), 0);

    form->PlayerControl().Open(HandOverOf({"deep"}, root), false);
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"/old/one.mp3", deep + "/a/found.mp3"}));
    EXPECT_EQ(Marks(), QList<bool>({true, false}));
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0],
              "Not added to the media list:\n" + QString::fromUtf8(root)
                  + "/deep: not walked to its end (I/O error 36)");

    // Taken down from the bottom, where no path reaches.
    ASSERT_EQ(::chdir(deep.constData()), 0);
    int depth = 0;
    while (::chdir("level") == 0)
        ++depth;
    for (; depth > 0; --depth)
        ASSERT_TRUE(::chdir("..") == 0 && ::rmdir("level") == 0);
    ASSERT_EQ(::chdir(root.constData()), 0);
}

// A drop on the list as the window system delivers it: entering, then dropping.
bool Drop(QWidget &surface, const QMimeData &mime)
{
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &enter);
    if (!enter.isAccepted())
        return false;
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &drop);
    return drop.isAccepted();
}

TEST_F(TOpenHandOverTest, DroppedFileUrlsAreAddedWithoutPlayingAndOthersAreRefused)
{
    Fill({"/old/one.mp3"});
    form->lbFiles->SetChecked(0, true);
    folder.Touch("a b.mp3");
    folder.MakeFolder("dropped");
    folder.Touch("dropped/c.wav");
    QWidget &surface = *form->lbFiles->viewport();

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(folder.File("a b.mp3")), QUrl::fromLocalFile(folder.File("dropped"))});
    EXPECT_TRUE(Drop(surface, files));
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"/old/one.mp3", root + "/a b.mp3", root + "/dropped/c.wav"}));
    EXPECT_EQ(Marks(), QList<bool>({true, false, false}));
    EXPECT_TRUE(device.Log.isEmpty()) << "a drop plays nothing";

    QMimeData web;
    web.setUrls({QUrl::fromLocalFile(folder.File("a b.mp3")), QUrl("https://example.com/x.mp3")});
    QMimeData text;
    text.setText(folder.File("a b.mp3"));
    EXPECT_FALSE(Drop(surface, web));
    EXPECT_FALSE(Drop(surface, text));
    EXPECT_EQ(form->lbFiles->Count(), 3);

    QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("A box of the player"), QMessageBox::Ok, form.get());
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    EXPECT_FALSE(Drop(surface, files)) << "dropped under a box";
    box.close();
    QTest::qWait(150);
    EXPECT_EQ(form->lbFiles->Count(), 3);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

// The player's own way in on a bus: what a second start of the program calls.
class THandOverServiceTest : public TScriptedFormFixture {
protected:
    void SetUp() override
    {
        TScriptedFormFixture::SetUp();
        ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
        client = bus.Connect(QStringLiteral("client"));
    }
    QString Owner() { return client.interface()->serviceOwner(QLatin1String(OEMPConst::ApplicationId)).value(); }
    QDBusMessage CallOpen(const QVariantList &arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(OEMPConst::ApplicationId),
                                                           QLatin1String(THandOverService::ObjectPath),
                                                           QLatin1String(THandOverService::Interface), "Open");
        call.setArguments(arguments);
        return client.call(call, QDBus::BlockWithGui);
    }

    TPrivateBus bus;
    QDBusConnection client{QString()};
};

TEST_F(THandOverServiceTest, NamesArriveAndAreAddedTheFirstPlayedAndTheWindowRaised)
{
    THandOverService service(form->PlayerControl(), bus.Connect(QStringLiteral("player")));
    folder.WriteFile("a.mp3", "");
    form->hide();
    const QDBusMessage reply
        = CallOpen({QVariant::fromValue(QList<QByteArray>{"a.mp3", "gone.wav"}), QFile::encodeName(folder.path())});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->Count() == 1; }, 2000));
    EXPECT_EQ(form->lbFiles->Text(0), QFile::encodeName(folder.File("a.mp3")));
    EXPECT_EQ(device.OpenFile, form->lbFiles->Text(0));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dialogs.Messages, QStringList({"Not added to the media list:\ngone.wav: no such file or folder"}));

    EXPECT_EQ(CallOpen({QStringLiteral("a.mp3")}).errorName(), "org.freedesktop.DBus.Error.UnknownMethod");
}

TEST_F(THandOverServiceTest, AHugeNameOverTheBusChangesNothingAndTheNextCallIsTaken)
{
    THandOverService service(form->PlayerControl(), bus.Connect(QStringLiteral("player")));
    Fill({"/old/one.mp3"});
    // The bus carries no array over 64 MiB (libdbus ends a sender that tries): 60 MiB it does.
    const QByteArray huge(60 * 1024 * 1024, 'x');
    EXPECT_EQ(CallOpen({QVariant::fromValue(QList<QByteArray>{huge}), QByteArray("/")}).type(),
              QDBusMessage::ReplyMessage);
    QTest::qWait(100);
    EXPECT_EQ(form->lbFiles->Texts(), QList<QByteArray>({"/old/one.mp3"}));
    EXPECT_TRUE(device.Log.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.Messages.isEmpty(); }, 5000));
    EXPECT_EQ(dialogs.Messages,
              QStringList({"Not added to the media list:\n" + QString(80, 'x') + QChar(0x2026) + QString(80, 'x')
                           + ": file name too long"}));

    folder.WriteFile("a.mp3", "");
    EXPECT_EQ(CallOpen({QVariant::fromValue(QList<QByteArray>{"a.mp3"}), QFile::encodeName(folder.path())}).type(),
              QDBusMessage::ReplyMessage);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->lbFiles->Count() == 2; }, 2000));
}

TEST_F(THandOverServiceTest, ASecondPlayerWaitsForTheNameAndTakesItWhenTheFirstEnds)
{
    auto first = std::make_unique<THandOverService>(form->PlayerControl(), bus.Connect(QStringLiteral("first")));
    const QString firstOwner = Owner();
    EXPECT_FALSE(firstOwner.isEmpty());
    THandOverService second(form->PlayerControl(), bus.Connect(QStringLiteral("second")));
    EXPECT_EQ(Owner(), firstOwner);
    first.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Owner().isEmpty() && Owner() != firstOwner; }, 2000));
}

TEST(HandOverToRunningPlayer, WithoutAPlayerOrABusNothingIsTaken)
{
    // No player holds the name on this test's session bus, or there is no bus at all.
    EXPECT_FALSE(HandOverToRunningPlayer({"a.mp3"}, "/tmp"));
}

} // namespace
