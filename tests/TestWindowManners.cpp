#include "TScriptedBackEnd.h"
#include "TScriptedFormFixture.h"
#include "about/TFormAboutOstrel.h"
#include "controls/Artwork.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>

namespace {

using TWindowMannersTest = TScriptedFormFixture;

QString SpokenName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible)
        return QStringLiteral("<none>");
    return accessible->role() == QAccessible::Button ? accessible->text(QAccessible::Name) : QStringLiteral("<no button>");
}

TEST_F(TWindowMannersTest, EveryPictureButtonHasAName)
{
    const QList<QPair<TOEButton *, QString>> main = {{form->sbPrevious, "Previous"}, {form->sbPause, "Pause"},
                                                     {form->sbPlay, "Play"},         {form->sbNext, "Next"},
                                                     {form->sbStop, "Stop"},         {form->sbejext, "Load"}};
    for (const auto &[button, name] : main) {
        EXPECT_EQ(SpokenName(button), name);
        EXPECT_EQ(button->toolTip(), name);
    }
    auto about = CreateFormAboutOstrel(nullptr, dialogs, QString(), "Ostrel Media Player", "Limited Edition",
                                                    "Release 2.2.5", "Copyright", "");
    const QList<QPair<TOEButton *, QString>> box = {
        {about->pbEmail, "Email"}, {about->pbHomepage, "Homepage"}, {about->pbCredits, "Credits"}, {about->OEButton4, "Close"}};
    for (const auto &[button, name] : box) {
        EXPECT_EQ(SpokenName(button), name);
        EXPECT_EQ(button->toolTip(), name);
    }
    // The press action clicks, as the mouse does.
    form->lbFiles->Append(QList<QByteArray>{"/m/a.wav"});
    form->lbFiles->SetItemIndex(0);
    QAccessible::queryAccessibleInterface(form->sbPlay)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(form->StatusText(), "Playing");
}

TEST_F(TWindowMannersTest, ReturnEnterAndADoubleClickPlayTheEntryAndSpaceStillMarksIt)
{
    struct TForm : TFormMediaPlayer {
        using TFormMediaPlayer::TFormMediaPlayer;
        void sbPlayClick(QObject *sender) override
        {
            Played << lbFiles->ItemIndex();
            TFormMediaPlayer::sbPlayClick(sender);
        }
        QList<int> Played;
    };
    TScriptedBackEnd::TState state;
    auto own = CreateFormMediaPlayer<TForm>(std::make_unique<TScriptedBackEnd>(state));
    own->lbFiles->Append(QList<QByteArray>{"/m/a.wav", "/m/b.wav", "/m/c.wav"});
    own->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(own.get()));
    own->lbFiles->setFocus();
    own->lbFiles->SetItemIndex(1);
    QTest::keyClick(own->lbFiles, Qt::Key_Return);
    EXPECT_EQ(own->Played, QList<int>({1}));
    EXPECT_EQ(state.OpenFile, "/m/b.wav");
    EXPECT_EQ(own->StatusText(), "Playing");
    own->lbFiles->SetItemIndex(2);
    QTest::keyClick(own->lbFiles, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(own->Played, QList<int>({1, 2}));
    // A double click on the text of the first entry makes it current and plays it.
    const QRect first = own->lbFiles->visualRect(own->lbFiles->model()->index(0, 0));
    const QPoint text(first.left() + 60, first.center().y());
    QTest::mouseDClick(own->lbFiles->viewport(), Qt::LeftButton, {}, text);
    EXPECT_EQ(own->Played, QList<int>({1, 2, 0}));
    EXPECT_EQ(own->lbFiles->ItemIndex(), 0);
    EXPECT_EQ(state.OpenFile, "/m/a.wav");
    // Space only toggles the mark; Shift+Return plays nothing.
    const bool marked = own->lbFiles->Checked(0);
    QTest::keyClick(own->lbFiles, Qt::Key_Space);
    EXPECT_NE(own->lbFiles->Checked(0), marked);
    QTest::keyClick(own->lbFiles, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(own->Played.size(), 3);
}

TEST_F(TWindowMannersTest, TheMenuBarAndItsMenusShareOneFace)
{
    for (QMenu *menu : {form->mFile, form->mEdit, form->mOptions, form->mHelp}) {
        EXPECT_EQ(menu->font().family(), form->MainMenu1->font().family());
        EXPECT_EQ(QFontInfo(menu->font()).pixelSize(), QFontInfo(form->MainMenu1->font()).pixelSize());
    }
}

TEST_F(TWindowMannersTest, EachCheckBoxStandsApartAndShowsInBothColourSchemes)
{
    form->lbFiles->AppendEntries({{"/m/a.wav", true}, {"/m/b.wav", false}, {"/m/c.wav", false}});
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (const bool black : {true, false}) {
        form->SetBlackMediaList(black);
        const QImage shot = form->lbFiles->viewport()->grab().toImage();
        const QColor background = black ? Qt::black : Qt::white, ink = black ? QColor(0, 255, 0) : Qt::black;
        for (int row = 0; row < 3; ++row) {
            const QRect item = form->lbFiles->visualRect(form->lbFiles->model()->index(row, 0));
            ASSERT_EQ(item.height(), 13);
            const int boxX = item.left() + 7;
            // Above and below each box the background shows: the boxes do not touch.
            EXPECT_EQ(shot.pixelColor(boxX, item.top()), background) << row << black;
            EXPECT_EQ(shot.pixelColor(boxX, item.bottom()), background) << row << black;
            // The outline is in the text colour.
            EXPECT_EQ(shot.pixelColor(item.left() + 3, item.top() + 6), ink) << row << black;
            EXPECT_EQ(shot.pixelColor(item.left() + 11, item.top() + 6), ink) << row << black;
            // Only a marked entry's box holds ink.
            int inked = 0;
            for (int x = item.left() + 5; x <= item.left() + 9; ++x)
                for (int y = item.top() + 4; y <= item.top() + 8; ++y)
                    inked += shot.pixelColor(x, y) != background;
            EXPECT_EQ(inked > 0, row == 0) << row << black;
        }
    }
}

TEST(Artwork, TheRoundFacesAreSmoothAtBothSizesAndTheLargerOneIsForTwiceTheDensity)
{
    for (const char *name : {"previous", "pause", "play", "next", "stop", "eject", "close"}) {
        const QImage single = Artwork(name, 1), twice = Artwork(name, 2);
        EXPECT_EQ(single.size(), QSize(41, 41)) << name;
        EXPECT_EQ(single.devicePixelRatio(), 1) << name;
        EXPECT_EQ(twice.size(), QSize(82, 82)) << name;
        EXPECT_EQ(twice.devicePixelRatio(), 2) << name;
        for (const QImage &image : {single, twice}) {
            // Along the row through the middle, the rim fades in over pixels that are
            // neither fully clear nor fully covered.
            int partial = 0;
            const int middle = image.height() / 2;
            for (int x = 0; x < image.width() / 4; ++x) {
                const int alpha = qAlpha(image.pixel(x, middle - image.height() / 5));
                partial += alpha > 0 && alpha < 255;
            }
            EXPECT_GE(partial, 1) << name << " at " << image.width();
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
        }
    }
    TOEButton button;
    button.SetPicture(Artwork("play", 2));
    button.SetTransparent(true);
    button.resize(42, 43);
    const QImage drawn = button.grab().toImage();
    EXPECT_FALSE(drawn.isNull());
}

TEST(Artwork, AtTwiceTheDensityTheWindowDrawsTheLargerFacesInTheSameLayout)
{
    if (qApp->devicePixelRatio() < 2) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=Artwork.AtTwiceTheDensityTheWindowDrawsTheLargerFacesInTheSameLayout")});
        ASSERT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
        return;
    }
    TScriptedDialogs dialogs;
    TOstrelApplication::Instance().SetDialogs(dialogs);
    TTempFolder folder;
    QDir::setCurrent(folder.path());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    TScriptedBackEnd::TState state;
    auto form = CreateFormMediaPlayer(std::make_unique<TScriptedBackEnd>(state));
    EXPECT_EQ(form->sbPlay->Picture().devicePixelRatio(), 2);
    EXPECT_EQ(form->sbPlay->Picture().size(), QSize(82, 82));
    EXPECT_EQ(form->sbPlay->geometry(), QRect(104, 8, 42, 43));
}

} // namespace
