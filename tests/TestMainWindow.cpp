#include "TFormFixture.h"

#include "controls/TBevelPanel.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

using TMainWindowTest = TFormFixture;

QStringList Captions(const QMenu *menu)
{
    QStringList captions;
    for (const QAction *item : menu->actions())
        captions << item->text() + QLatin1Char('=') + item->shortcut().toString();
    return captions;
}

// The window's values at start-up as the design gives them, one row per value.
struct TDesignValue {
    const char *Name;
    std::function<QVariant(TFormMediaPlayer &)> Actual;
    QVariant Expected;
};

TEST_F(TMainWindowTest, StartUpValuesMatchTheDesign)
{
    auto form = CreateFormMediaPlayer();
    const QString start = QDir::currentPath();
    const QString listFilter = "Ostrel Media List (*.OML)|*.OML|MP3 Unit (*.MPU)|*.MPU|Text File (*.TXT)|*.TXT|"
                               "All files (*.*), treated as text files|*.*|"
                               "M3U Playlist (*.m3u;*.m3u8)|*.m3u;*.m3u8|PLS Playlist (*.pls)|*.pls|"
                               "XSPF Playlist (*.xspf)|*.xspf";
    using F = TFormMediaPlayer;
    const QList<TDesignValue> design = {
        {"caption", [](F &f) { return f.windowTitle(); }, "Ostrel Media Player - " + start + "/default-List.oml"},
        {"list file", [](F &f) { return f.ListFileName(); }, start + "/default-List.oml"},
        {"start folder", [](F &f) { return f.StartFolder(); }, start},
        {"working folder", [](F &f) { return f.WorkingFolder(); }, start},
        {"list extension", [](F &f) { return f.ListExtension(); }, "oml"},
        {"status", [](F &f) { return f.StatusText(); }, "Closed"},
        {"playing", [](F &f) { return f.Playing(); }, false},
        {"play order value", [](F &f) { return int(f.PlayOrderValue()); }, 0},
        {"list type", [](F &f) { return int(f.ListType()); }, 1},
        {"help file", [](F &f) { return f.HelpFile(); }, start + "/OEMMPLAY.HLP"},
        {"help context", [](F &f) { return f.HelpContext(); }, 1000},
        {"Remove's help context", [](F &f) { return f.miRemove->property("HelpContext"); }, 1000},
        {"random pool", [](F &f) { return f.RandomPool().Count(); }, 0},
        {"entries", [](F &f) { return f.lbFiles->Count(); }, 0},
        {"list order", [](F &f) { return int(f.lbFiles->Order()); }, int(loNoOrder)},
        {"size", [](F &f) { return f.size(); }, QSize(573, 400)},
        {"minimum size", [](F &f) { return f.minimumSize(); }, QSize(490, 295)},
        {"poll interval", [](F &f) { return f.Timer1->interval(); }, 1000},
        {"poll running", [](F &f) { return f.Timer1->isActive(); }, true},
        {"In order", [](F &f) { return f.miInOrder->isChecked(); }, true},
        {"Random", [](F &f) { return f.miRandom->isChecked(); }, false},
        {"Auto Save", [](F &f) { return f.AutoSave(); }, true},
        {"Black Media List", [](F &f) { return f.BlackMediaList(); }, true},
        {"Show Controls", [](F &f) { return f.miShowControls->isChecked(); }, true},
        {"list background", [](F &f) { return f.lbFiles->palette().color(QPalette::Base); }, QColor(0, 0, 0)},
        {"list text", [](F &f) { return f.lbFiles->palette().color(QPalette::Text); }, QColor(0, 255, 0)},
        {"list font size", [](F &f) { return f.lbFiles->font().pixelSize(); }, 11},
        {"list font", [](F &f) { return f.lbFiles->font().family(); }, "MS Sans Serif"},
        {"open title", [](F &f) { return f.FOpenDialog.Title; }, "Save Media List"},
        {"open filter", [](F &f) { return f.FOpenDialog.Filter; }, listFilter},
        {"open options", [](F &f) { return int(f.FOpenDialog.Options); },
         int(ofHideReadOnly | ofShowHelp | ofAllowMultiSelect | ofEnableSizing)},
        {"open help", [](F &f) { return f.FOpenDialog.HelpContext; }, 2100},
        {"open extension", [](F &f) { return f.FOpenDialog.DefaultExt; }, "mp3"},
        {"open name", [](F &f) { return f.FOpenDialog.FileName; },
         "*.mp3;*.wav;*.avi;*.mov;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.aac;*.wma;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mpc;"
         "*.mp4;*.m4v;*.mkv;*.webm;*.ogv;*.wmv;*.mpg;*.mpeg;*.ts;*.m3u;*.m3u8;*.pls;*.xspf"},
        {"save title", [](F &f) { return f.FSaveDialog.Title; }, "Save Media List"},
        {"save filter", [](F &f) { return f.FSaveDialog.Filter; }, listFilter},
        {"save options", [](F &f) { return int(f.FSaveDialog.Options); },
         int(ofHideReadOnly | ofShowHelp | ofEnableSizing)},
        {"save help", [](F &f) { return f.FSaveDialog.HelpContext; }, 2300},
        {"search title", [](F &f) { return f.FSearchDialog.Title; }, "Search Media Files"},
        {"search filter", [](F &f) { return f.FSearchDialog.Filter; },
         "Wave Files (*.wav)|*.wav|MP3 files (*.mp3)|*.mp3|Audio Video Files (*.avi)|*.avi|Movie Files (*.mov)|*.mov|"
         "FLAC Files (*.flac)|*.flac|Ogg and Opus Files (*.ogg;*.oga;*.opus)|*.ogg;*.oga;*.opus|"
         "AAC and M4A Files (*.m4a;*.aac)|*.m4a;*.aac|"
         "Other Audio Files (*.wma;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mpc)|*.wma;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mpc|"
         "Video Files (*.avi;*.mov;*.mp4;*.m4v;*.mkv;*.webm;*.ogv;*.wmv;*.mpg;*.mpeg;*.ts)|"
         "*.avi;*.mov;*.mp4;*.m4v;*.mkv;*.webm;*.ogv;*.wmv;*.mpg;*.mpeg;*.ts|"
         "All Media Files (*.wav;*.mp3;*.avi;*.mov;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.aac;*.wma;*.aif;*.aiff;*.ape;*.wv;"
         "*.mka;*.mpc;*.mp4;*.m4v;*.mkv;*.webm;*.ogv;*.wmv;*.mpg;*.mpeg;*.ts)|"
         "*.wav;*.mp3;*.avi;*.mov;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.aac;*.wma;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mpc;*.mp4;"
         "*.m4v;*.mkv;*.webm;*.ogv;*.wmv;*.mpg;*.mpeg;*.ts"},
        {"search options", [](F &f) { return int(f.FSearchDialog.Options); },
         int(ofShowHelp | ofNoValidate | ofShareAware | ofOldStyleDialog | ofEnableSizing)},
        {"search help", [](F &f) { return f.FSearchDialog.HelpContext; }, 2200},
        {"search type change", [](F &f) { return bool(f.FSearchDialog.OnTypeChange); }, false},
        {"window icon", [](F &f) { return f.windowIcon().availableSizes().contains(QSize(16, 16)); }, true},
        {"desktop file", [](F &) { return QGuiApplication::desktopFileName(); }, "example.ostrel.MediaPlayer"},
    };
    for (const TDesignValue &value : design)
        EXPECT_EQ(value.Actual(*form), value.Expected) << value.Name;
    EXPECT_EQ(form->FOpenDialog.FilterPairs().size(), 7);
    EXPECT_EQ(form->FOpenDialog.FilterPairs()[3].first, "All files (*.*), treated as text files");
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(TMainWindowTest, MenuTreeHasEveryCaptionAndShortcut)
{
    auto form = CreateFormMediaPlayer();
    QStringList menus;
    for (const QAction *menu : form->MainMenu1->actions())
        menus << menu->text();
    EXPECT_EQ(menus, QStringList({"&Media", "&Edit", "&Options", "&Help"}));
    EXPECT_EQ(Captions(form->mFile),
              QStringList({"&New=Ctrl+N", "&Load=Ctrl+L", "S&earch=Ctrl+E", "&Save=Ctrl+S", "Save &As=Ctrl+A",
                           "&Delete=", "E&xit=Ctrl+Q"}));
    EXPECT_EQ(Captions(form->mEdit),
              QStringList({"&Add=Ins", "&Remove=Del", "Remove &All=", "&Find\u2026=Ctrl+F", "&Go to Playing Entry=Ctrl+J",
                           "=", "&Sort By=", "Remove &Duplicates=", "Remove &Missing Files=", "Move U&p=Alt+Up",
                           "Move Dow&n=Alt+Down", "&Queue=Q", "=", "&Undo=Ctrl+Z", "R&edo=Ctrl+Shift+Z"}));
    EXPECT_EQ(Captions(form->miSortBy), QStringList({"&Title=", "&Artist=", "Al&bum=", "&File Name=", "&Path=",
                                                     "&Length=", "=", "&Reverse Order="}));
    EXPECT_EQ(Captions(form->mOptions),
              QStringList({"Play &Order=", "&Auto Save=", "&Black Media List=", "Show &Controls=", "Even Out &Loudness=", "&Resume Playback=", "Stop A&fter Current="}));
    EXPECT_EQ(Captions(form->miPlayOrder), QStringList({"&In order=", "&Random="}));
    EXPECT_EQ(Captions(form->mHelp), QStringList({"&About=", "&Index="}));
    ASSERT_NE(form->miInOrder->actionGroup(), nullptr);
    EXPECT_EQ(form->miInOrder->actionGroup(), form->miRandom->actionGroup());
    EXPECT_TRUE(form->miInOrder->actionGroup()->isExclusive());
}

TEST_F(TMainWindowTest, FileTypeChangesWhileADialogIsOpenSetTheListType)
{
    auto form = CreateFormMediaPlayer();
    dialogs.FileAnswers.push_back([](TFileDialog &dialog) {
        dialog.ChangeFilterIndex(3);
        return false;
    });
    EXPECT_FALSE(form->FOpenDialog.Execute(dialogs));
    EXPECT_EQ(form->ListType(), TListType::Text);
    dialogs.FileAnswers.push_back([](TFileDialog &dialog) {
        dialog.ChangeFilterIndex(4);
        return false;
    });
    form->FSaveDialog.Execute(dialogs);
    EXPECT_EQ(form->ListType(), TListType::AnyFile);
}

TEST_F(TMainWindowTest, ConfirmedDialogMovesTheCurrentFolderToTheChosenFile)
{
    auto form = CreateFormMediaPlayer();
    QDir(folder.path()).mkdir("sub");
    const QString chosen = folder.path() + "/sub/list.oml";
    dialogs.FileAnswers.push_back([&](TFileDialog &dialog) {
        dialog.Files = QStringList{chosen};
        return true;
    });
    ASSERT_TRUE(form->FOpenDialog.Execute(dialogs));
    EXPECT_EQ(form->FOpenDialog.FileName, chosen);
    EXPECT_EQ(QDir::currentPath(), QDir(folder.path() + "/sub").canonicalPath());
}

TEST_F(TMainWindowTest, SetListFileNameSetsTheCaption)
{
    auto form = CreateFormMediaPlayer();
    form->SetListFileName("relative name.txt");
    EXPECT_EQ(form->ListFileName(), "relative name.txt");
    EXPECT_EQ(form->windowTitle(), "Ostrel Media Player - relative name.txt");
}

TEST_F(TMainWindowTest, BlackMediaListSwitchesTheListColours)
{
    auto form = CreateFormMediaPlayer();
    QFont bold = form->lbFiles->font();
    bold.setBold(true);
    bold.setItalic(true);
    form->lbFiles->setFont(bold);
    form->miBlackMediaList->trigger();
    EXPECT_FALSE(form->miBlackMediaList->isChecked());
    EXPECT_EQ(form->lbFiles->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(form->lbFiles->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_FALSE(form->lbFiles->font().bold());
    EXPECT_FALSE(form->lbFiles->font().italic());
    form->miBlackMediaList->trigger();
    EXPECT_TRUE(form->miBlackMediaList->isChecked());
    EXPECT_EQ(form->lbFiles->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(form->lbFiles->palette().color(QPalette::Text), QColor(0, 255, 0));
}

TEST_F(TMainWindowTest, OptionItemsToggleOnlyTheirOwnMarks)
{
    auto form = CreateFormMediaPlayer();
    form->miShowControls->trigger();
    EXPECT_FALSE(form->miShowControls->isChecked());
    EXPECT_TRUE(form->sbPlay->isVisibleTo(form.get()));
    form->miShowControls->trigger();
    EXPECT_TRUE(form->miShowControls->isChecked());
    form->miAutoSave->trigger();
    EXPECT_FALSE(form->AutoSave());
    form->miAutoSave->trigger();
    EXPECT_TRUE(form->AutoSave());
    form->miIndex->trigger();
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    EXPECT_EQ(dialogs.Messages, QStringList({"File not found"})); // from start-up: no list file yet
}

TEST_F(TMainWindowTest, PlayOrderItemsFormOneRadioGroup)
{
    auto form = CreateFormMediaPlayer();
    form->miRandom->trigger();
    EXPECT_TRUE(form->miRandom->isChecked());
    EXPECT_FALSE(form->miInOrder->isChecked());
    form->miRandom->trigger();
    EXPECT_TRUE(form->miRandom->isChecked());
    form->miInOrder->trigger();
    EXPECT_TRUE(form->miInOrder->isChecked());
    EXPECT_FALSE(form->miRandom->isChecked());
    // Unchecking one leaves the other as it is, so neither may be checked.
    form->miInOrder->setChecked(false);
    EXPECT_FALSE(form->miInOrder->isChecked());
    EXPECT_FALSE(form->miRandom->isChecked());
    form->SetOrderType(form->miExit);
    EXPECT_FALSE(form->miInOrder->isChecked());
    EXPECT_FALSE(form->miRandom->isChecked());
}

TEST_F(TMainWindowTest, FirstShowCentresTheWindowAndLaterShowsKeepThePosition)
{
    auto form = CreateFormMediaPlayer();
    form->move(3, 4);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QPoint centre = form->screen()->availableGeometry().center();
    EXPECT_LE((form->frameGeometry().center() - centre).manhattanLength(), 2);
    form->hide();
    form->move(10, 20);
    form->show();
    EXPECT_EQ(form->pos(), QPoint(10, 20));
}

TEST_F(TMainWindowTest, TheWindowCannotBeSizedBelowItsMinimum)
{
    auto form = CreateFormMediaPlayer();
    form->show();
    form->resize(100, 100);
    EXPECT_EQ(form->size(), QSize(490, 295));
}

TEST_F(TMainWindowTest, ListFillsTheClientAreaBelowTheButtonRow)
{
    auto form = CreateFormMediaPlayer();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Panel1->height(), 64);
    EXPECT_EQ(form->Panel1->width(), form->centralWidget()->width());
    EXPECT_EQ(form->lbFiles->geometry().top(), 64);
    EXPECT_EQ(form->lbFiles->geometry().bottom() + 1, form->centralWidget()->height());
    EXPECT_EQ(form->FStatusBar->height(), 19);
    EXPECT_EQ(form->OEButton9->geometry(), form->Panel1->contentsRect());
}

TEST_F(TMainWindowTest, ButtonRowMatchesTheDesign)
{
    auto form = CreateFormMediaPlayer();
    const QList<QPair<TOEButton *, int>> row
        = {{form->sbPrevious, 8}, {form->sbPause, 56},  {form->sbPlay, 104},    {form->sbNext, 152},
           {form->sbStop, 216},   {form->sbejext, 264}, {form->OEButton7, 416}, {form->sbClose, 464}};
    for (const auto &[button, left] : row) {
        EXPECT_EQ(button->geometry(), QRect(left, 8, 42, 43)) << button->objectName().toStdString();
        EXPECT_TRUE(button->Transparent());
        EXPECT_EQ(button->Picture().size(), QSize(41, 41));
    }
    EXPECT_FALSE(form->OEButton7->isVisibleTo(form.get()));
    EXPECT_FALSE(form->sbClose->isVisibleTo(form.get()));
    EXPECT_EQ(form->OEButton9->Picture().size(), QSize(1, 81));
    EXPECT_EQ(form->OEButton9->Picture().pixelColor(0, 0), QColor(157, 156, 159));
    EXPECT_EQ(form->OEButton9->Picture().pixelColor(0, 40), QColor(206, 203, 216));
    EXPECT_EQ(form->OEButton9->Picture().pixelColor(0, 80), QColor(157, 156, 159));
    EXPECT_TRUE(form->OEButton9->Stretch());
}

// A window whose handlers record their calls instead of doing their work.
class TRecordingForm : public TFormMediaPlayer {
public:
    QStringList Calls;
    bool SaveFails = false;
    bool LoadFails = false;

    void sbPlayClick(QObject *) override { Calls << "play"; }
    void sbPauseClick(QObject *) override { Calls << "pause"; }
    void sbStopClick(QObject *) override { Calls << "stop"; }
    void sbNextClick(QObject *) override { Calls << "next"; }
    void sbPreviousClick(QObject *) override { Calls << "previous"; }
    void sbCloseClick(QObject *) override { Calls << "close"; }
    void miLoadMediaClick(QObject *) override { Calls << "load"; }
    void SaveSettings() override
    {
        Calls << "save";
        if (SaveFails)
            throw std::runtime_error("Cannot create file x");
    }
    void LoadSettings() override
    {
        Calls << "load settings";
        if (LoadFails)
            throw std::runtime_error("Cannot open file x");
    }
};

TEST_F(TMainWindowTest, ButtonsGoThroughTheOverridableHandlers)
{
    auto form = CreateFormMediaPlayer<TRecordingForm>();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (TOEButton *button : {form->sbPlay, form->sbPause, form->sbStop, form->sbNext, form->sbPrevious, form->sbejext})
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));
    form->sbClose->OnClick(form->sbClose);
    EXPECT_EQ(form->Calls,
              QStringList({"load settings", "play", "pause", "stop", "next", "previous", "load", "close"}));
}

TEST_F(TMainWindowTest, AnErrorEscapingStartUpIsReportedAndSkipsTheRestOfIt)
{
    auto form = std::make_unique<TRecordingForm>();
    form->LoadFails = true;
    form->StartUp();
    EXPECT_EQ(dialogs.Errors, QStringList({"Cannot open file x."}));
    EXPECT_NE(form->StatusText(), "Closed");
    EXPECT_EQ(form->HelpFile(), "");
    form->show();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(TMainWindowTest, AStartUpCutShortStillLeavesEachButtonBoundOnce)
{
    auto form = std::make_unique<TRecordingForm>();
    form->LoadFails = true;
    form->StartUp();
    form->Calls.clear();
    for (TOEButton *button :
         {form->sbPlay, form->sbPause, form->sbStop, form->sbNext, form->sbPrevious, form->sbClose, form->sbejext})
        button->OnClick(button);
    EXPECT_EQ(form->Calls, QStringList({"play", "pause", "stop", "next", "previous", "close", "load"}));
}

TEST_F(TMainWindowTest, WhileABoxOfThePlayerIsOpenNoMenuItemOrButtonRuns)
{
    auto form = CreateFormMediaPlayer<TRecordingForm>();
    form->lbFiles->Append(QByteArray("/m/a.mp3"));
    form->Calls.clear();
    QSignalSpy told(form.get(), &TFormMediaPlayer::StateMayHaveChanged);
    {
        QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("A box"), QMessageBox::Ok, form.get());
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        ASSERT_EQ(QApplication::activeModalWidget(), &box);
        EXPECT_FALSE(form->AcceptsCommands());
        form->miRemoveAll->trigger();
        form->sbPlay->OnClick(form->sbPlay);
        form->miAutoSave->trigger();
        EXPECT_EQ(form->lbFiles->Count(), 1);
        EXPECT_TRUE(form->Calls.isEmpty());
        EXPECT_TRUE(form->AutoSave());
        EXPECT_EQ(told.size(), 0);
    }
    EXPECT_TRUE(form->AcceptsCommands());
    form->sbPlay->OnClick(form->sbPlay);
    form->miAutoSave->trigger();
    EXPECT_EQ(form->Calls, QStringList({"play"}));
    EXPECT_FALSE(form->AutoSave());
    EXPECT_EQ(told.size(), 2);
}

class TThrowingForm : public TFormMediaPlayer {
public:
    QString Text;
    void sbPlayClick(QObject *) override { throw std::runtime_error(Text.toStdString()); }
    void TimerTimer(QObject *) override { throw std::runtime_error("Tick failed"); }
};

TEST_F(TMainWindowTest, AnErrorFromAHandlerReachesTheDefaultErrorReport)
{
    auto form = CreateFormMediaPlayer<TThrowingForm>();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (const char *text : {"Device busy", "Stopped!", "List index out of bounds (-1)", "Done.", ""}) {
        form->Text = QString::fromLatin1(text);
        QTest::mouseClick(form->sbPlay, Qt::LeftButton, {}, QPoint(20, 20));
    }
    EXPECT_EQ(dialogs.Errors, QStringList({"Device busy.", "Stopped!", "List index out of bounds (-1)", "Done.", ""}));
    dialogs.Errors.clear();
    form->Timer1->setInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.Errors.size() >= 2; }, 2000));
    EXPECT_EQ(dialogs.Errors.first(), "Tick failed.");
    form->Timer1->stop();
    // The program goes on: the next click is handled as usual.
    form->Text = "Again";
    QTest::mouseClick(form->sbPlay, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(dialogs.Errors.last(), "Again.");
}

TEST_F(TMainWindowTest, AnErrorFromAnEventHandlerIsCaughtAtTheEventLoop)
{
    struct TThrowingWidget : QWidget {
        bool event(QEvent *event) override
        {
            if (event->type() == QEvent::User)
                throw std::runtime_error("Raised in an event");
            return QWidget::event(event);
        }
    } widget;
    QCoreApplication::postEvent(&widget, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.Errors, QStringList({"Raised in an event."}));
}

TEST_F(TMainWindowTest, FullStopRule)
{
    EXPECT_EQ(WithFullStop("Abc"), "Abc.");
    EXPECT_EQ(WithFullStop("Abc."), "Abc.");
    EXPECT_EQ(WithFullStop("Abc!"), "Abc!");
    EXPECT_EQ(WithFullStop("(-1)"), "(-1)");
    EXPECT_EQ(WithFullStop("a,"), "a,");
    EXPECT_EQ(WithFullStop("a/"), "a/.");
    EXPECT_EQ(WithFullStop("5"), "5.");
    EXPECT_EQ(WithFullStop(QString::fromUtf8("Größe ü")), QString::fromUtf8("Größe ü."));
    EXPECT_EQ(WithFullStop(""), "");
}

TEST_F(TMainWindowTest, ExitWithAutoSaveSavesAndCloses)
{
    auto form = CreateFormMediaPlayer<TRecordingForm>();
    form->show();
    form->miExit->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->Calls, QStringList({"load settings", "save"}));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(TMainWindowTest, CloseRequestWithoutAutoSaveWritesNothing)
{
    auto form = CreateFormMediaPlayer<TRecordingForm>();
    form->show();
    form->SetAutoSave(false);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->Calls, QStringList({"load settings"}));
}

TEST_F(TMainWindowTest, AFailedSaveAtClosingIsReportedAndTheWindowClosesAnyway)
{
    auto form = CreateFormMediaPlayer<TRecordingForm>();
    form->show();
    form->SaveFails = true;
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->Calls, QStringList({"load settings", "save"}));
    EXPECT_EQ(dialogs.Messages, QStringList({"Unknown exception, please contact your local dealer!"}));
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(TMainWindowTest, ASaveWithoutBoxesSavesWithAutoSaveTellsNoOneAndLeavesTheWindowOpen)
{
    auto form = CreateFormMediaPlayer<TRecordingForm>();
    form->show();
    form->SaveFails = true;
    form->SaveWithoutBoxes();
    EXPECT_EQ(form->Calls, QStringList({"load settings", "save"}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(&UserDialogs(), &dialogs) << "the boxes are shown again afterwards";

    form->SetAutoSave(false);
    form->SaveWithoutBoxes();
    EXPECT_EQ(form->Calls.size(), 2);
    // A forced exit after it still saves once.
    form->SetAutoSave(true);
    form->SaveFails = false;
    form->SaveBeforeForcedExit();
    form->SaveBeforeForcedExit();
    EXPECT_EQ(form->Calls, QStringList({"load settings", "save", "save"}));
    EXPECT_NE(&UserDialogs(), &dialogs) << "boxes are shown again on the way out";
    TOstrelApplication::Instance().SetDialogs(dialogs);
}

} // namespace
