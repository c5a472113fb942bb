// The main window's components and layout, its menus and dialogs, and the gate that every
// command of the user passes.

#include "window/TFormMediaPlayer.h"

#include "about/OEMPConst.h"
#include "errorreport/TOstrelApplication.h"
#include "controls/Artwork.h"
#include "controls/TBevelPanel.h"
#include "controls/TFindBar.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"
#include "device/TMpvBackEnd.h"
#include "dialogs/TUserDialogs.h"
#include "medialist/ByteText.h"
#include "medialist/CurrentFolder.h"
#include "medialist/MediaTypes.h"
#include "window/FormColours.h"
#include "window/Help.h"
#include "window/WindowValues.h"
#include "window/TAutoSaver.h"
#include "window/TListDropTarget.h"
#include "window/TListTask.h"
#include "window/TNowPlayingBar.h"
#include "window/TWindowPlayerControl.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QLayout>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const char *const ListFilter = "Ostrel Media List (*.OML)|*.OML|MP3 Unit (*.MPU)|*.MPU|Text File (*.TXT)|*.TXT|"
                               "All files (*.*), treated as text files|*.*";
const char *const SearchFilter = "Wave Files (*.wav)|*.wav|MP3 files (*.mp3)|*.mp3|"
                                 "Audio Video Files (*.avi)|*.avi|Movie Files (*.mov)|*.mov";

QFont MSSansSerif()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

} // namespace

// One item of the main menu as the form data designs it.
struct TMenuItemDesign {
    QMenu *TFormMediaPlayer::*Menu;
    QAction *TFormMediaPlayer::*Field;
    const char *Name;
    const char *Caption;
    QKeyCombination Shortcut;
    TFormMediaPlayer::THandler Handler; // none: the item does nothing
    bool Checkable;
};

namespace {

QMenu *AddMenu(QWidget *parent, const char *name, const char *caption)
{
    auto *menu = new QMenu(QString::fromLatin1(caption), parent);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

using F = TFormMediaPlayer;

const QKeyCombination NoShortcut;

const TMenuItemDesign MenuItems[] = {
    {&F::mFile, &F::NewMedia1, "NewMedia1", "&New", Qt::CTRL | Qt::Key_N, &F::NewMedia1Click, false},
    {&F::mFile, &F::miLoadMedia, "miLoadMedia", "&Load", Qt::CTRL | Qt::Key_L, &F::miLoadMediaClick, false},
    {&F::mFile, &F::miSearch, "miSearch", "S&earch", Qt::CTRL | Qt::Key_E, &F::miSearchClick, false},
    {&F::mFile, &F::miSave, "miSave", "&Save", Qt::CTRL | Qt::Key_S, &F::miSaveClick, false},
    {&F::mFile, &F::miSaveMediaAs, "miSaveMediaAs", "Save &As", Qt::CTRL | Qt::Key_A, &F::miSaveMediaAsClick, false},
    {&F::mFile, &F::miDelete, "miDelete", "&Delete", NoShortcut, &F::miDeleteClick, false},
    {&F::mFile, &F::miExit, "miExit", "E&xit", NoShortcut, &F::miExitClick, false},
    {&F::mEdit, &F::miAdd, "miAdd", "&Add", QKeyCombination(Qt::Key_Insert), &F::miAddClick, false},
    {&F::mEdit, &F::miRemove, "miRemove", "&Remove", QKeyCombination(Qt::Key_Delete), &F::miRemoveClick, false},
    {&F::mEdit, &F::miRemoveAll, "miRemoveAll", "Remove &All", NoShortcut, &F::miRemoveAllClick, false},
    {&F::mEdit, &F::miFind, "miFind", "&Find\u2026", Qt::CTRL | Qt::Key_F, &F::miFindClick, false},
    {&F::mEdit, &F::miGoToPlayingEntry, "miGoToPlayingEntry", "&Go to Playing Entry", Qt::CTRL | Qt::Key_J,
     &F::miGoToPlayingEntryClick, false},
    {&F::miSortBy, &F::miSortByTitle, "miSortByTitle", "&Title", NoShortcut, &F::miSortByClick, false},
    {&F::miSortBy, &F::miSortByArtist, "miSortByArtist", "&Artist", NoShortcut, &F::miSortByClick, false},
    {&F::miSortBy, &F::miSortByAlbum, "miSortByAlbum", "Al&bum", NoShortcut, &F::miSortByClick, false},
    {&F::miSortBy, &F::miSortByFileName, "miSortByFileName", "&File Name", NoShortcut, &F::miSortByClick, false},
    {&F::miSortBy, &F::miSortByPath, "miSortByPath", "&Path", NoShortcut, &F::miSortByClick, false},
    {&F::miSortBy, &F::miSortByLength, "miSortByLength", "&Length", NoShortcut, &F::miSortByClick, false},
    {&F::miSortBy, &F::miReverseOrder, "miReverseOrder", "&Reverse Order", NoShortcut, &F::miReverseOrderClick, false},
    {&F::mEdit, &F::miRemoveDuplicates, "miRemoveDuplicates", "Remove &Duplicates", NoShortcut,
     &F::miRemoveDuplicatesClick, false},
    {&F::mEdit, &F::miRemoveMissingFiles, "miRemoveMissingFiles", "Remove &Missing Files", NoShortcut,
     &F::miRemoveMissingFilesClick, false},
    {&F::mEdit, &F::miMoveUp, "miMoveUp", "Move U&p", Qt::ALT | Qt::Key_Up, &F::miMoveUpClick, false},
    {&F::mEdit, &F::miMoveDown, "miMoveDown", "Move Dow&n", Qt::ALT | Qt::Key_Down, &F::miMoveDownClick, false},
    {&F::mEdit, &F::miQueue, "miQueue", "&Queue", QKeyCombination(Qt::Key_Q), &F::miQueueClick, false},
    {&F::mEdit, &F::miUndo, "miUndo", "&Undo", Qt::CTRL | Qt::Key_Z, &F::miUndoClick, false},
    {&F::mEdit, &F::miRedo, "miRedo", "R&edo", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, &F::miRedoClick, false},
    {&F::miPlayOrder, &F::miInOrder, "miInOrder", "&In order", NoShortcut, &F::SetOrderType, true},
    {&F::miPlayOrder, &F::miRandom, "miRandom", "&Random", NoShortcut, &F::SetOrderType, true},
    {&F::mOptions, &F::miAutoSave, "miAutoSave", "&Auto Save", NoShortcut, &F::miAutoSaveClick, true},
    {&F::mOptions, &F::miBlackMediaList, "miBlackMediaList", "&Black Media List", NoShortcut,
     &F::miBlackMediaListClick, true},
    {&F::mOptions, &F::miShowControls, "miShowControls", "Show &Controls", NoShortcut, &F::miShowControlsClick, true},
    {&F::mOptions, &F::miEvenOutLoudness, "miEvenOutLoudness", "Even Out &Loudness", NoShortcut,
     &F::miEvenOutLoudnessClick, true},
    {&F::mOptions, &F::miResumePlayback, "miResumePlayback", "&Resume Playback", NoShortcut,
     &F::miResumePlaybackClick, true},
    {&F::mOptions, &F::miStopAfterCurrent, "miStopAfterCurrent", "Stop A&fter Current", NoShortcut,
     &F::miStopAfterCurrentClick, true},
    {&F::mHelp, &F::miAbout, "miAbout", "&About", NoShortcut, &F::miAboutClick, false},
    {&F::mHelp, &F::miIndex, "miIndex", "&Index", NoShortcut, nullptr, false},
};

} // namespace

TFormMediaPlayer::TFormMediaPlayer(std::unique_ptr<TMediaBackEnd> backEnd)
    : FOpenDialog(TFileDialogKind::Open), FSaveDialog(TFileDialogKind::Save), FSearchDialog(TFileDialogKind::Open)
{
    setWindowTitle(QString::fromLatin1(OEMPConst::ProductName));
    move(216, 163);
    resize(573, 400);
    setMinimumSize(490, 295);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, clSilver);
    palette.setColor(QPalette::WindowText, clGreen);
    setPalette(palette);
    setFont(MSSansSerif());

    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(client);
    CreateButtonRow();
    CreateList();
    CreateFindBar();
    layout->addWidget(Panel1);
    layout->addWidget(lbFiles);
    layout->addWidget(FFindBar);

    FStatusBar = new QStatusBar(this);
    FStatusBar->setFixedHeight(19);
    FStatusBar->setSizeGripEnabled(false);
    FStatusBar->setPalette(QApplication::palette());
    FStatusText = new QLabel(FStatusBar);
    int widest = 0;
    for (const QString &text : {ModeName(dmNotReady), ModeName(dmRecording), QStringLiteral("Closed")})
        widest = std::max(widest, FStatusText->fontMetrics().horizontalAdvance(text));
    FStatusText->setMinimumWidth(widest + 8);
    FStatusText->hide();
    FStatusBar->addWidget(FStatusText, 1);
    setStatusBar(FStatusBar);

    CreateMenus();
    CreateDialogs();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { RunGuarded([this] { TimerTimer(Timer1); }); });
    Timer1->start();

    FMediaPlayer = new TMediaPlayer(
        backEnd ? std::move(backEnd) : std::make_unique<TMpvBackEnd>(QString::fromLatin1(OEMPConst::ProductName),
                                                                  QByteArray(OEMPConst::ApplicationId)), this);
    FMediaPlayer->setObjectName(QStringLiteral("FMediaPlayer"));
    connect(FMediaPlayer, &TMediaPlayer::Notified, this, [this] { RunGuarded([this] { PollAtEndOfMedium(); }); });
    connect(FMediaPlayer, &TMediaPlayer::WindowCloseRequested, this,
            [this] { RunRequest([this] { sbStopClick(FMediaPlayer); }); });
    FMediaPlayer->SetAutoRewind(false);
    FMediaPlayer->Loaded();
    FPlayerControl = std::make_unique<TWindowPlayerControl>(*this);
    CreatePlaybackKeys();
    CreateHandAhead();
    FListTask = new TListTask(this);
    FAutoSaver = new TAutoSaver(*this);
    connect(this, &TFormMediaPlayer::StateMayHaveChanged, this, &TFormMediaPlayer::ShowNowPlaying);
}

void TFormMediaPlayer::ShowNowPlaying()
{
    if (!FNowPlaying) {
        if (!FMediaPlayer->Opened())
            return;
        FNowPlaying = new TNowPlayingBar(*FPlayerControl, FStatusBar);
        FStatusBar->addPermanentWidget(FNowPlaying, 1);
        // The status text keeps the room of its longest word, the rest goes to what plays.
        FStatusBar->removeWidget(FStatusText);
        FStatusBar->insertWidget(0, FStatusText);
        FStatusText->show();
        ColourNowPlaying();
        // Laid out now, so that a click right after the first Play lands where it is aimed.
        FStatusBar->layout()->activate();
        FNowPlaying->layout()->activate();
    }
    FNowPlaying->Refresh();
}

void TFormMediaPlayer::ChangeVolume(double volume)
{
    FMediaPlayer->SetVolume(volume);
    // Kept once the user has let go of it, not at every step of a drag.
    if (!FVolumeStore) {
        FVolumeStore = new QTimer(this);
        FVolumeStore->setSingleShot(true);
        FVolumeStore->setInterval(500);
        connect(FVolumeStore, &QTimer::timeout, this, &TFormMediaPlayer::StoreVolume);
    }
    FVolumeStore->start();
}

void TFormMediaPlayer::StoreVolume()
{
    StoredVolume::Write(int(std::lround(FMediaPlayer->Volume() * 100)));
}

void TFormMediaPlayer::RestoreWindowValues()
{
    miResumePlayback->setChecked(StoredOption::Read(StoredOption::ResumePlayback));
    const bool even = StoredOption::Read(StoredOption::EvenOutLoudness);
    miEvenOutLoudness->setChecked(even);
    FMediaPlayer->SetEvenLoudness(even);
    if (const std::optional<int> percent = StoredVolume::Read())
        FMediaPlayer->SetVolume(*percent / 100.0);
}

TFormMediaPlayer::~TFormMediaPlayer()
{
    StorePendingVolume();
}

void TFormMediaPlayer::StorePendingVolume()
{
    if (FVolumeStore && FVolumeStore->isActive())
        StoreVolume();
}

TPlayerControl &TFormMediaPlayer::PlayerControl()
{
    return *FPlayerControl;
}

void TFormMediaPlayer::CreateButtonRow()
{
    Panel1 = new TBevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(64);
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::Window, clGray);
    Panel1->setPalette(palette);

    OEButton9 = new TOEButton(Panel1);
    OEButton9->setObjectName(QStringLiteral("OEButton9"));
    OEButton9->SetBounds(2, 2, 561, 60);
    OEButton9->SetPicture(Artwork("band", devicePixelRatioF()));
    OEButton9->SetStretch(true);
    OEButton9->SetAlign(alClient);

    sbPrevious = CreateTransportButton("sbPrevious", 8, "previous", "Previous");
    sbPause = CreateTransportButton("sbPause", 56, "pause", "Pause");
    sbPlay = CreateTransportButton("sbPlay", 104, "play", "Play");
    sbNext = CreateTransportButton("sbNext", 152, "next", "Next");
    sbStop = CreateTransportButton("sbStop", 216, "stop", "Stop");
    sbejext = CreateTransportButton("sbejext", 264, "eject", "Load");
    OEButton7 = CreateTransportButton("OEButton7", 416, "eject", "Eject");
    OEButton7->hide();
    sbClose = CreateTransportButton("sbClose", 464, "close", "Close");
    sbClose->hide();
    // The form data binds the load button; the start-up sequence binds the others.
    BindButton(sbejext, &TFormMediaPlayer::miLoadMediaClick);
}

TOEButton *TFormMediaPlayer::CreateTransportButton(const char *name, int left, const char *picture, const char *hint)
{
    auto *button = new TOEButton(Panel1);
    button->setObjectName(QLatin1String(name));
    button->SetBounds(left, 8, 42, 43);
    button->SetPicture(Artwork(picture, devicePixelRatioF()));
    button->SetHint(QLatin1String(hint));
    button->SetTransparent(true);
    return button;
}

void TFormMediaPlayer::BindButton(TOEButton *button, THandler handler)
{
    button->OnClick = [this, handler](QObject *sender) { RunCommand([&] { (this->*handler)(sender); }); };
}

void TFormMediaPlayer::BindButtons()
{
    if (std::exchange(FButtonsBound, true))
        return;
    BindButton(sbPlay, &TFormMediaPlayer::sbPlayClick);
    BindButton(sbStop, &TFormMediaPlayer::sbStopClick);
    BindButton(sbClose, &TFormMediaPlayer::sbCloseClick);
    BindButton(sbNext, &TFormMediaPlayer::sbNextClick);
    BindButton(sbPause, &TFormMediaPlayer::sbPauseClick);
    BindButton(sbPrevious, &TFormMediaPlayer::sbPreviousClick);
}

bool TFormMediaPlayer::AcceptsCommands() const
{
    // A box or dialog of the player covers the window; a search is still filling the list.
    return !FStartingUp && !FSearching && !QApplication::activeModalWidget();
}

void TFormMediaPlayer::RunCommand(const std::function<void()> &command)
{
    if (AcceptsCommands())
        RunGuarded(command);
}

void TFormMediaPlayer::RunGuarded(const std::function<void()> &command)
{
    Guarded(command);
    emit StateMayHaveChanged();
}

void TFormMediaPlayer::RunRequest(const std::function<void()> &request)
{
    if (FSearching)
        FAfterSearch.append(request);
    else
        RunGuarded(request);
}

bool TFormMediaPlayer::ExecuteDialog(TFileDialog &dialog)
{
    if (!dialog.Execute(UserDialogs()))
        return false;
    SetWorkingFolder(dialog.Folder);
    return true;
}

void TFormMediaPlayer::CreateList()
{
    lbFiles = new TOECheckListBox(this);
    lbFiles->setObjectName(QStringLiteral("lbFiles"));
    lbFiles->setFont(MSSansSerif());
    lbFiles->SetOrder(loNoOrder);
    QPalette palette = lbFiles->palette();
    palette.setColor(QPalette::Base, clBlack);
    palette.setColor(QPalette::Text, clLime);
    lbFiles->setPalette(palette);
    // Beyond the design: Return, keypad Enter and a double click play the entry.
    connect(lbFiles, &TOECheckListBox::EntryChosen, this, [this] { RunCommand([this] { sbPlayClick(lbFiles); }); });
    connect(lbFiles, &TOECheckListBox::EntryDragged, this,
            [this](int entry, int before) { RunCommand([=, this] { MoveEntry(entry, before); }); });
    new TListDropTarget(*this, *lbFiles->viewport());
}

void TFormMediaPlayer::CreateMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setPalette(QApplication::palette());
    // The drop-down menus are windows of their own in the menu face; the bar shows the same.
    MainMenu1->setFont(QApplication::font("QMenu"));
    setMenuBar(MainMenu1);

    mFile = AddMenu(this, "mFile", "&Media");
    mEdit = AddMenu(this, "mEdit", "&Edit");
    mOptions = AddMenu(this, "mOptions", "&Options");
    miPlayOrder = AddMenu(mOptions, "miPlayOrder", "Play &Order");
    mOptions->addMenu(miPlayOrder);
    mHelp = AddMenu(this, "mHelp", "&Help");
    miSortBy = AddMenu(mEdit, "miSortBy", "&Sort By");
    for (const TMenuItemDesign &design : MenuItems)
        this->*design.Field = AddItem(this->*design.Menu, design);
    mEdit->insertMenu(miRemoveDuplicates, miSortBy);
    mEdit->insertSeparator(miSortBy->menuAction());
    mEdit->insertSeparator(miUndo);
    miSortBy->insertSeparator(miReverseOrder);
    for (QMenu *menu : {mFile, mEdit, mOptions, mHelp})
        MainMenu1->addMenu(menu);

    miRemove->setProperty("HelpContext", 1000);
    miExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q)); // beside the design's none, as desktops expect
    FPlayOrderGroup = new QActionGroup(this);
    FPlayOrderGroup->addAction(miInOrder);
    FPlayOrderGroup->addAction(miRandom);
    for (QAction *item : {miInOrder, miAutoSave, miBlackMediaList, miShowControls})
        item->setChecked(true);
}

QAction *TFormMediaPlayer::AddItem(QMenu *menu, const TMenuItemDesign &design)
{
    QAction *item = menu->addAction(QString::fromUtf8(design.Caption));
    item->setObjectName(QLatin1String(design.Name));
    item->setShortcut(QKeySequence(design.Shortcut));
    item->setCheckable(design.Checkable);
    if (const THandler handler = design.Handler) {
        connect(item, &QAction::triggered, this, [this, item, handler](bool checked) {
            // Qt toggles a checkable item before reporting the trigger; the handlers own the
            // check marks, apart from those of a radio group.
            if (item->isCheckable() && !item->actionGroup())
                item->setChecked(!checked);
            RunCommand([&] { (this->*handler)(item); });
        });
    }
    return item;
}

void TFormMediaPlayer::CreateDialogs()
{
    FOpenDialog.Title = QStringLiteral("Save Media List");
    FOpenDialog.Filter = QString::fromLatin1(ListFilter) + QLatin1Char('|') + PlaylistFilters();
    FOpenDialog.Options = ofHideReadOnly | ofShowHelp | ofAllowMultiSelect | ofEnableSizing;
    FOpenDialog.HelpContext = 2100;
    FOpenDialog.OnTypeChange = [this](TFileDialog &sender) { FOpenDialogTypeChange(sender); };

    FSaveDialog.Title = QStringLiteral("Save Media List");
    FSaveDialog.Options = ofHideReadOnly | ofShowHelp | ofEnableSizing;
    FSaveDialog.HelpContext = 2300;
    FSaveDialog.OnTypeChange = [this](TFileDialog &sender) { FSaveDialogTypeChange(sender); };

    FSearchDialog.Title = QStringLiteral("Search Media Files");
    FSearchDialog.Filter = QString::fromLatin1(SearchFilter) + QLatin1Char('|') + MoreSearchFilters();
    FSearchDialog.Options = ofShowHelp | ofNoValidate | ofShareAware | ofOldStyleDialog | ofEnableSizing;
    FSearchDialog.HelpContext = 2200;
    for (TFileDialog *dialog : {&FOpenDialog, &FSaveDialog, &FSearchDialog})
        dialog->OnHelp = [this](int context) { ShowHelp(UserDialogs(), FHelpFile, context); };
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { RunCommand([this] { ShowHelp(UserDialogs(), FHelpFile, FHelpContext); }); });
}

void TFormMediaPlayer::SetListFileName(const QString &path)
{
    FListFileName = path;
    setWindowTitle(QString::fromLatin1(OEMPConst::ProductName) + QStringLiteral(" - ") + DisplayedText(path));
}

QString TFormMediaPlayer::StatusText() const { return FStatusText->text(); }

void TFormMediaPlayer::SetStatusText(const QString &text)
{
    FStatusText->setText(text);
    FStatusText->show();
}

bool TFormMediaPlayer::Playing() const { return FPlaying; }
void TFormMediaPlayer::SetPlaying(bool playing) { FPlaying = playing; }
QString TFormMediaPlayer::StartFolder() const { return FStartFolder; }
QString TFormMediaPlayer::ListExtension() const { return FListExtension; }
QString TFormMediaPlayer::ListFileName() const { return FListFileName; }
QString TFormMediaPlayer::ListFilePath() const { return ResolvedPath(WorkingFolder(), ListFileName()); }
uint8_t TFormMediaPlayer::PlayOrderValue() const { return FPlayOrder; }
void TFormMediaPlayer::SetPlayOrderValue(uint8_t value) { FPlayOrder = value; }
TTextPool &TFormMediaPlayer::RandomPool() { return FRandomPool; }
bool TFormMediaPlayer::AutoSave() const { return miAutoSave->isChecked(); }
void TFormMediaPlayer::SetAutoSave(bool on) { miAutoSave->setChecked(on); }
bool TFormMediaPlayer::BlackMediaList() const { return miBlackMediaList->isChecked(); }
TListType TFormMediaPlayer::ListType() const { return FListType; }
void TFormMediaPlayer::SetListType(TListType type) { FListType = type; }
TSearchType TFormMediaPlayer::SearchType() const { return FSearchType; }
void TFormMediaPlayer::SetSearchType(TSearchType type) { FSearchType = type; }
