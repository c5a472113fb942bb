// The main window's components and layout, its menus and dialogs, and the gate that every
// command of the user passes.

#include "window/TFormMediaPlayer.h"

#include "about/OEMPConst.h"
#include "app/TOstrelApplication.h"
#include "controls/Artwork.h"
#include "controls/TBevelPanel.h"
#include "controls/TOEButton.h"
#include "controls/TOECheckListBox.h"
#include "device/TMediaPlayer.h"
#include "device/TMpvBackEnd.h"
#include "dialogs/TUserDialogs.h"
#include "medialist/ByteText.h"
#include "medialist/CurrentFolder.h"
#include "window/FormColours.h"
#include "window/Help.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

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

// Qt toggles a checkable item before reporting the trigger; the handlers own the check marks.
using THandler = void (TFormMediaPlayer::*)(QObject *);

QAction *AddItem(TFormMediaPlayer *form, QMenu *menu, const char *name, const char *caption,
                 const QKeySequence &shortcut, THandler handler, bool checkable = false)
{
    QAction *item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    item->setCheckable(checkable);
    if (handler) {
        QObject::connect(item, &QAction::triggered, form, [form, item, handler, checkable](bool checked) {
            if (checkable && !item->actionGroup())
                item->setChecked(!checked);
            if (form->Searching())
                return;
            Guarded([&] { (form->*handler)(item); });
            emit form->StateMayHaveChanged();
        });
    }
    return item;
}

QMenu *AddMenu(QWidget *parent, const char *name, const char *caption)
{
    auto *menu = new QMenu(QString::fromLatin1(caption), parent);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

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
    layout->addWidget(Panel1);
    layout->addWidget(lbFiles);

    FStatusBar = new QStatusBar(this);
    FStatusBar->setFixedHeight(19);
    FStatusBar->setSizeGripEnabled(false);
    FStatusBar->setPalette(QApplication::palette());
    FStatusText = new QLabel(FStatusBar);
    FStatusText->hide();
    FStatusBar->addWidget(FStatusText, 1);
    setStatusBar(FStatusBar);

    CreateMenus();
    CreateDialogs();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Guarded([this] { TimerTimer(Timer1); });
        emit StateMayHaveChanged();
    });
    Timer1->start();

    FMediaPlayer = new TMediaPlayer(
        backEnd ? std::move(backEnd) : std::make_unique<TMpvBackEnd>(QString::fromLatin1(OEMPConst::ProductName)), this);
    FMediaPlayer->setObjectName(QStringLiteral("FMediaPlayer"));
    connect(FMediaPlayer, &TMediaPlayer::Notified, this, [this] {
        Guarded([this] { PollAtEndOfMedium(); });
        emit StateMayHaveChanged();
    });
    connect(FMediaPlayer, &TMediaPlayer::WindowCloseRequested, this,
            [this] { RunRequest([this] { sbStopClick(FMediaPlayer); }); });
    FMediaPlayer->SetAutoRewind(false);
    FMediaPlayer->Loaded();
}

TFormMediaPlayer::~TFormMediaPlayer() = default;

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

    BindButton(sbPrevious, &TFormMediaPlayer::sbPreviousClick);
    BindButton(sbPause, &TFormMediaPlayer::sbPauseClick);
    BindButton(sbPlay, &TFormMediaPlayer::sbPlayClick);
    BindButton(sbNext, &TFormMediaPlayer::sbNextClick);
    BindButton(sbStop, &TFormMediaPlayer::sbStopClick);
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

void TFormMediaPlayer::BindButton(TOEButton *button, void (TFormMediaPlayer::*handler)(QObject *))
{
    button->OnClick = [this, handler](QObject *sender) { RunCommand([&] { (this->*handler)(sender); }); };
}

void TFormMediaPlayer::RunCommand(const std::function<void()> &command)
{
    if (FSearching)
        return;
    Guarded(command);
    emit StateMayHaveChanged();
}

void TFormMediaPlayer::RunRequest(const std::function<void()> &request)
{
    if (FSearching) {
        FAfterSearch.append(request);
        return;
    }
    Guarded(request);
    emit StateMayHaveChanged();
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
}

void TFormMediaPlayer::CreateMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setPalette(QApplication::palette());
    // The drop-down menus are windows of their own in the menu face; the bar shows the same.
    MainMenu1->setFont(QApplication::font("QMenu"));
    setMenuBar(MainMenu1);
    using F = TFormMediaPlayer;

    mFile = AddMenu(this, "mFile", "&Media");
    NewMedia1 = AddItem(this, mFile, "NewMedia1", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), &F::NewMedia1Click);
    miLoadMedia = AddItem(this, mFile, "miLoadMedia", "&Load", QKeySequence(Qt::CTRL | Qt::Key_L), &F::miLoadMediaClick);
    miSearch = AddItem(this, mFile, "miSearch", "S&earch", QKeySequence(Qt::CTRL | Qt::Key_E), &F::miSearchClick);
    miSave = AddItem(this, mFile, "miSave", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), &F::miSaveClick);
    miSaveMediaAs = AddItem(this, mFile, "miSaveMediaAs", "Save &As", QKeySequence(Qt::CTRL | Qt::Key_A),
                            &F::miSaveMediaAsClick);
    miDelete = AddItem(this, mFile, "miDelete", "&Delete", QKeySequence(), &F::miDeleteClick);
    miExit = AddItem(this, mFile, "miExit", "E&xit", QKeySequence(), &F::miExitClick);

    mEdit = AddMenu(this, "mEdit", "&Edit");
    miAdd = AddItem(this, mEdit, "miAdd", "&Add", QKeySequence(Qt::Key_Insert), &F::miAddClick);
    miRemove = AddItem(this, mEdit, "miRemove", "&Remove", QKeySequence(Qt::Key_Delete), &F::miRemoveClick);
    miRemove->setProperty("HelpContext", 1000);
    miRemoveAll = AddItem(this, mEdit, "miRemoveAll", "Remove &All", QKeySequence(), &F::miRemoveAllClick);

    mOptions = AddMenu(this, "mOptions", "&Options");
    miPlayOrder = AddMenu(mOptions, "miPlayOrder", "Play &Order");
    mOptions->addMenu(miPlayOrder);
    FPlayOrderGroup = new QActionGroup(this);
    miInOrder = AddItem(this, miPlayOrder, "miInOrder", "&In order", QKeySequence(), &F::SetOrderType, true);
    miRandom = AddItem(this, miPlayOrder, "miRandom", "&Random", QKeySequence(), &F::SetOrderType, true);
    FPlayOrderGroup->addAction(miInOrder);
    FPlayOrderGroup->addAction(miRandom);
    miInOrder->setChecked(true);
    miAutoSave = AddItem(this, mOptions, "miAutoSave", "&Auto Save", QKeySequence(), &F::miAutoSaveClick, true);
    miAutoSave->setChecked(true);
    miBlackMediaList = AddItem(this, mOptions, "miBlackMediaList", "&Black Media List", QKeySequence(),
                               &F::miBlackMediaListClick, true);
    miBlackMediaList->setChecked(true);
    miShowControls = AddItem(this, mOptions, "miShowControls", "Show &Controls", QKeySequence(),
                             &F::miShowControlsClick, true);
    miShowControls->setChecked(true);

    mHelp = AddMenu(this, "mHelp", "&Help");
    miAbout = AddItem(this, mHelp, "miAbout", "&About", QKeySequence(), &F::miAboutClick);
    miIndex = AddItem(this, mHelp, "miIndex", "&Index", QKeySequence(), nullptr);

    for (QMenu *menu : {mFile, mEdit, mOptions, mHelp})
        MainMenu1->addMenu(menu);
}

void TFormMediaPlayer::CreateDialogs()
{
    FOpenDialog.Title = QStringLiteral("Save Media List");
    FOpenDialog.Filter = QString::fromLatin1(ListFilter);
    FOpenDialog.Options = ofHideReadOnly | ofShowHelp | ofAllowMultiSelect | ofEnableSizing;
    FOpenDialog.HelpContext = 2100;
    FOpenDialog.OnTypeChange = [this](TFileDialog &sender) { FOpenDialogTypeChange(sender); };

    FSaveDialog.Title = QStringLiteral("Save Media List");
    FSaveDialog.Options = ofHideReadOnly | ofShowHelp | ofEnableSizing;
    FSaveDialog.HelpContext = 2300;
    FSaveDialog.OnTypeChange = [this](TFileDialog &sender) { FSaveDialogTypeChange(sender); };

    FSearchDialog.Title = QStringLiteral("Search Media Files");
    FSearchDialog.Filter = QString::fromLatin1(SearchFilter);
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
