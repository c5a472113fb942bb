#pragma once

#include "device/TMediaPlayer.h"
#include "dialogs/TFileDialog.h"
#include "medialist/ListArrangement.h"
#include "medialist/ListType.h"
#include "medialist/SearchType.h"
#include "medialist/TListHistory.h"
#include "medialist/TMediaNavigator.h"
#include "medialist/TTextPool.h"
#include "window/WindowValues.h"

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTimer;
class TAutoSaver;
class TBevelPanel;
class TFindBar;
class TListTask;
class TMediaBackEnd;
class TNowPlayingBar;
class TOEButton;
class TOECheckListBox;
class TPlayerControl;
class TPlaylistSource;
class TWindowPlayerControl;
struct THandOver;
struct TMenuItemDesign;
struct TPlayerSettings;

// The player's main window. It owns every component and all run-time state; every handler
// and operation marked virtual may be overridden, and the buttons reach them only through
// those virtual calls. Create it with CreateFormMediaPlayer, which runs the start-up sequence
// once the most derived class exists.
class TFormMediaPlayer : public QMainWindow {
    Q_OBJECT

public:
    using THandler = void (TFormMediaPlayer::*)(QObject *);

    // Without a back end, the media device plays through libmpv.
    explicit TFormMediaPlayer(std::unique_ptr<TMediaBackEnd> backEnd = nullptr);
    ~TFormMediaPlayer() override;

    // Runs FormCreate; an error escaping it goes to the default error report and the
    // remaining start-up steps are skipped.
    void StartUp();
    // While StartUp runs (a box of it may be open), no command runs and the window is not
    // raised: what the desktop sends waits for the window to be up.
    bool StartingUp() const { return FStartingUp; }

    virtual void miAddClick(QObject *sender);
    virtual void FormCreate(QObject *sender);
    virtual void miExitClick(QObject *sender);
    virtual void TimerTimer(QObject *sender);
    virtual void miSaveClick(QObject *sender);
    virtual void miLoadMediaClick(QObject *sender);
    virtual void miAutoSaveClick(QObject *sender);
    virtual void MyDoClose();
    virtual void miSaveMediaAsClick(QObject *sender);
    virtual void NewMedia1Click(QObject *sender);
    virtual void miBlackMediaListClick(QObject *sender);
    virtual void miRemoveClick(QObject *sender);
    virtual void miAboutClick(QObject *sender);
    virtual void sbPlayClick(QObject *sender);
    virtual void sbStopClick(QObject *sender);
    virtual void sbCloseClick(QObject *sender);
    virtual void sbNextClick(QObject *sender);
    virtual void sbPauseClick(QObject *sender);
    virtual void sbPreviousClick(QObject *sender);
    // Checks the radio item named by the sender; any other sender changes nothing.
    virtual void SetOrderType(QObject *sender);
    virtual QByteArray NextEntry();
    virtual QByteArray RandomEntry();
    virtual QByteArray PreviousEntry();
    virtual void SearchMediaFiles(const QString &pattern);
    virtual QByteArray ChooseNext();
    virtual QByteArray ChoosePrevious();

    virtual bool Playing() const;
    virtual void SetPlaying(bool playing);
    virtual QString StartFolder() const;
    virtual QString ListExtension() const;
    virtual QString ListFileName() const;
    // Also sets the caption to the program name, " - " and the path.
    virtual void SetListFileName(const QString &path);
    virtual uint8_t PlayOrderValue() const;
    virtual void SetPlayOrderValue(uint8_t value);
    virtual TTextPool &RandomPool();
    virtual bool AutoSave() const;
    virtual void SetAutoSave(bool on);
    virtual bool BlackMediaList() const;
    // Sets the check mark and colours the list from it.
    virtual void SetBlackMediaList(bool on);
    virtual TListType ListType() const;
    virtual void SetListType(TListType type);
    virtual TSearchType SearchType() const;
    virtual void SetSearchType(TSearchType type);

    virtual void LoadMediaList();
    virtual bool PlayMedia();
    virtual bool PauseMedia();
    virtual bool StopMedia();
    virtual bool NextMedia();
    virtual bool PreviousMedia();
    virtual bool OpenMedia();
    virtual bool CloseMedia();
    virtual void SaveSettings();
    virtual void LoadSettings();

    // The folder that names resolve against: the process's current folder at start-up, then
    // the folder of each confirmed file dialog. Search walks it; a relative list file name,
    // like Delete's "noname", and the about box's credits picture are taken as inside it.
    QString WorkingFolder() const { return FWorkingFolder; }
    void SetWorkingFolder(const QString &folder) { FWorkingFolder = folder; }
    // The list file as it is read and written: its name resolved against the working folder.
    QString ListFilePath() const;
    // While a search runs, the window repaints and the poll goes on, but no command runs.
    bool Searching() const { return FSearching; }
    // The one gate of the user's commands: false while the window starts up, a box or dialog
    // of the player is open or a search runs, when a click on the covered window would do
    // nothing either.
    bool AcceptsCommands() const;
    // Runs a command of the user through the gate; an error escaping it goes to the default
    // error report, and the window tells that its state may have changed.
    void RunCommand(const std::function<void()> &command);

    // The window as callers outside it (the desktop's media controls) drive and observe it.
    TPlayerControl &PlayerControl();

    // The status bar's part that shows what plays, with its time, position and volume; none
    // until a medium has been opened since start-up.
    TNowPlayingBar *NowPlaying() const { return FNowPlaying; }
    // Sets the engine's volume (0 to 1) as the user chose it, and keeps it for the next run.
    void ChangeVolume(double volume);

    // Appends the names as unmarked entries and to the random pool, leaving out a name that a
    // list file could not hold again (it would split into other entries at the next load).
    void AddEntries(const QList<QByteArray> &names);

    // The names, each playlist of another player among them replaced by its entries; what
    // those leave out, and a playlist that cannot be read, told in the refusal lines.
    QList<QByteArray> WithPlaylistEntries(const QList<QByteArray> &names, QStringList &refused);

    // Adds what the desktop hands over (see TPlayerControl::Open): folders are walked as a
    // search, refusals told in one message, the first entry added played if asked.
    void OpenHandOver(const THandOver &handOver, bool playFirst);

    // Runs SaveSettings, as a close with Auto Save would, when the process is made to end
    // without closing the window (the display went away, a signal to end); no box is shown
    // any more.
    void SaveBeforeForcedExit();
    // With Auto Save, the save a close would make, its messages unshown, the window left open:
    // for a session manager that asks the application to save.
    void SaveWithoutBoxes();

    void miShowControlsClick(QObject *sender);
    // Beyond the twelve settings, kept in a value of its own: each file's track gain applied.
    void miEvenOutLoudnessClick(QObject *sender);
    // Beyond the twelve settings, kept in a value of its own: at the next start, the entry
    // that played goes on where it was, playing or paused.
    void miResumePlaybackClick(QObject *sender);
    // Once checked, play stops when the playing entry ends, nothing next is opened, and the
    // item unchecks itself; not kept between runs.
    void miStopAfterCurrentClick(QObject *sender);
    void miSearchClick(QObject *sender);
    void miRemoveAllClick(QObject *sender);
    // Opens the find bar under the list (also "/" typed in the list); while it has text the
    // list shows only the entries that match, the list itself staying whole.
    void miFindClick(QObject *sender);
    // Selects the entry that plays and brings it into view, closing the find bar when that
    // hides it.
    void miGoToPlayingEntryClick(QObject *sender);
    void miDeleteClick(QObject *sender);
    // Edit > Sort By: the sender names the key; Reverse Order turns the list round. The order is
    // worked out beside the window and comes in on a later turn of the event loop.
    void miSortByClick(QObject *sender);
    void miReverseOrderClick(QObject *sender);
    // Later entries equal to an earlier one ignoring letter case go; the first stays, marked when
    // any of them was.
    void miRemoveDuplicatesClick(QObject *sender);
    // Entries that name no regular file go; the files are looked at beside the window.
    void miRemoveMissingFilesClick(QObject *sender);
    // The selected entry one row up or down.
    void miMoveUpClick(QObject *sender);
    void miMoveDownClick(QObject *sender);
    // The selected entry to the end of the play queue, or out of it when queued.
    void miQueueClick(QObject *sender);
    // The last change of the list's entries or their order taken back, and made again.
    void miUndoClick(QObject *sender);
    void miRedoClick(QObject *sender);
    // Whether a new order of the list is still being worked out beside the window.
    bool ArrangingList() const;
    const TListHistory &ListHistory() const { return FHistory; }
    // Writes the list to the current list file in the format of the list type; a list of a
    // format that keeps no marks only when it changed since it was read or written.
    void SaveMediaList();
    void FOpenDialogTypeChange(TFileDialog &sender);
    void FSaveDialogTypeChange(TFileDialog &sender);

    // The status text of a device mode.
    static QString ModeName(TDeviceMode mode);
    QString StatusText() const;
    void SetStatusText(const QString &text);
    QString HelpFile() const { return FHelpFile; }
    int HelpContext() const { return FHelpContext; }

    // Components, as the form data names them.
    TBevelPanel *Panel1;
    TOEButton *OEButton9;
    TOEButton *sbPrevious;
    TOEButton *sbPause;
    TOEButton *sbPlay;
    TOEButton *sbNext;
    TOEButton *sbStop;
    TOEButton *sbejext;
    TOEButton *OEButton7;
    TOEButton *sbClose;
    TOECheckListBox *lbFiles;
    TFindBar *FFindBar;
    QStatusBar *FStatusBar;
    QMenuBar *MainMenu1;
    QMenu *mFile;
    QAction *NewMedia1;
    QAction *miLoadMedia;
    QAction *miSearch;
    QAction *miSave;
    QAction *miSaveMediaAs;
    QAction *miDelete;
    QAction *miExit;
    QMenu *mEdit;
    QAction *miAdd;
    QAction *miRemove;
    QAction *miRemoveAll;
    QAction *miFind;
    QAction *miGoToPlayingEntry;
    QMenu *miSortBy;
    QAction *miSortByTitle;
    QAction *miSortByArtist;
    QAction *miSortByAlbum;
    QAction *miSortByFileName;
    QAction *miSortByPath;
    QAction *miSortByLength;
    QAction *miReverseOrder;
    QAction *miRemoveDuplicates;
    QAction *miRemoveMissingFiles;
    QAction *miMoveUp;
    QAction *miMoveDown;
    QAction *miQueue;
    QAction *miUndo;
    QAction *miRedo;
    QMenu *mOptions;
    QMenu *miPlayOrder;
    QAction *miInOrder;
    QAction *miRandom;
    QAction *miAutoSave;
    QAction *miBlackMediaList;
    QAction *miShowControls;
    QAction *miEvenOutLoudness;
    QAction *miResumePlayback;
    QAction *miStopAfterCurrent;
    QMenu *mHelp;
    QAction *miAbout;
    QAction *miIndex;
    TFileDialog FOpenDialog;
    TFileDialog FSaveDialog;
    TFileDialog FSearchDialog;
    QTimer *Timer1;
    TMediaPlayer *FMediaPlayer;

signals:
    // After each command, close request, poll and completion notice: what the window shows
    // of the playback may have changed.
    void StateMayHaveChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CreateButtonRow();
    TOEButton *CreateTransportButton(const char *name, int left, const char *picture, const char *hint);
    void CreateList();
    void CreateFindBar();
    void CloseFind();
    void ShowFindCount();
    // Enter in the find bar: plays the selected match, or the first one when none is selected.
    void PlayFoundEntry();
    // Remove while the find bar shows matches.
    void RemoveFoundEntry();
    void CreateMenus();
    void CreateDialogs();
    // Z X C V B and the media keys, in the window and in the video window, each as a click of
    // its button.
    void CreatePlaybackKeys();
    // The button's click; none: pause while the medium plays, else play.
    void PressPlaybackKey(TOEButton *TFormMediaPlayer::*button);
    QAction *AddItem(QMenu *menu, const TMenuItemDesign &design);
    void BindButton(TOEButton *button, THandler handler);
    // The start-up step that binds the buttons of the row to their handlers; once only.
    void BindButtons();
    // Runs work that is not the user's (the poll, the device's notice) as RunCommand does,
    // without the gate.
    void RunGuarded(const std::function<void()> &work);
    // Runs a request that must not be lost (a close) now, or once a running search has ended.
    void RunRequest(const std::function<void()> &request);
    // Shows the dialog; once confirmed, its folder becomes the working folder.
    bool ExecuteDialog(TFileDialog &dialog);
    // The device's notice that a medium has played to its end runs the poll at once, so the
    // next entry follows without waiting for the timer.
    void PollAtEndOfMedium();
    void MyOnClose(QCloseEvent *event);
    // Brings in the status bar's now-playing part once a medium has opened, and keeps it current.
    void ShowNowPlaying();
    void ColourNowPlaying();
    // At start-up the engine takes the volume kept from the last run, so that the media
    // controls report it before anything plays, and the options kept apart from the twelve
    // values.
    void RestoreWindowValues();
    void StoreVolume();
    // A volume chosen less than the debounce ago is kept now.
    void StorePendingVolume();
    // With Resume Playback: what plays and where, to be kept (at a close, before a forced exit,
    // with each background save); nothing without the option.
    std::optional<TResumePoint> CurrentResumePoint();
    void StoreResumePoint();
    // The play queue kept for the list file, and taken up at start-up when that list is loaded.
    void StoreQueue();
    void RestoreQueue();
    // At start-up, with Resume Playback, when the list's current entry is the one kept: it
    // opens at its position and plays, or stays paused. Whatever fails leaves a start as
    // without the option, with no message.
    void ResumeWhereStopped();
    TMediaNavigator Navigator();
    // The window's state as the settings kept between runs, with the given list type.
    TPlayerSettings CurrentSettings(int fileExtension);
    QByteArray Moved(TMediaNavigator::TMove move);
    // What SaveSettings does: the twelve values, then the list file; the list file's error
    // text when it could not be written, empty when it was. A background save under way ends
    // first.
    QString WriteSettingsAndList();
    // The twelve values, and that they are on disk as they are now.
    void WriteSettings();
    // The list file written as SaveMediaList writes it; its error text, or empty.
    QString WriteListFile();
    // Whether a save may write the current list file: not over a list whose load was refused
    // for its size, not in a list type outside the four.
    bool MayWriteListFile() const;
    // With Auto Save, New and Load save the settings and the list they replace first, as Save
    // would, each unless it has not changed since it was loaded, saved or made new. When the
    // list's save fails, the user is asked whether to go on without it; false when not, and the
    // command goes no further. The settings' store never stops them.
    bool SaveBeforeReplacing();
    QList<QByteArray> PlaylistEntries(const QByteArray &path, QStringList &refused);
    // Runs the walk as a search runs: what it adds goes to the list in batches.
    void RunSearch(const std::function<void(const std::function<void(const QByteArray &)> &add)> &walk);
    // See HandAhead.cpp: what the advance would play next, handed to the engine near the end.
    void CreateHandAhead();
    QByteArray PredictedNext();
    void UpdateHandAhead();
    // Around every change of the list's entries or order that Undo takes back: from the first
    // row it may touch. Changes within a change are part of it.
    void BeginListChange(int first);
    void EndListChange();
    // The list becomes the given rows of the run it was when the work started, with their marks
    // or the given ones; a list changed since has the work done again. The current entry stays
    // current wherever it moves; when it goes, the entry in its row is.
    void ArrangeList(const std::function<ListArrangement::TKept(const TEntryRun &run, const std::atomic<bool> &stop)> &work);
    void ApplyArrangement(uint64_t textsRevision, const TEntryRun &run, const ListArrangement::TKept &result,
                          const std::function<void()> &again);
    // The entry moves to stand before the other one (Count: last), the current entry kept.
    void MoveEntry(int entry, int before);
    void MoveSelected(int by);
    // Undo or Redo through the history, the current entry kept by what it is.
    void StepHistory(bool (TListHistory::*step)(TMediaEntries &, TTextPool &));
    // Closes what is open and plays the entry, as Play does with it selected.
    void PlayEntry(int index);

    uint8_t FPlayOrder = 0;
    bool FPlaying = false;
    QString FStartFolder;
    QString FWorkingFolder;
    QString FRefusedListFile; // the list file last refused for lack of memory
    // Another player's playlist as it was read, so that a save keeps what the list does not show.
    std::shared_ptr<const TPlaylistSource> FPlaylistSource;
    QString FListExtension;
    QString FListFileName;
    TTextPool FRandomPool;
    TListType FListType = TListType::Oml;
    TListHistory FHistory;
    int FListChangeDepth = 0;
    TListTask *FListTask = nullptr;
    TSearchType FSearchType = TSearchType::Wave;

    QLabel *FStatusText;
    QActionGroup *FPlayOrderGroup;
    QString FHelpFile;
    int FHelpContext = 1000;
    bool FClosing = false;
    bool FShownBefore = false;
    bool FStartingUp = false;
    friend class TAutoSaver;
    TAutoSaver *FAutoSaver = nullptr;
    bool FSearching = false;
    bool FButtonsBound = false;
    TNowPlayingBar *FNowPlaying = nullptr;
    QTimer *FVolumeStore = nullptr;
    QTimer *FHandAhead = nullptr;
    QList<std::function<void()>> FAfterSearch;
    // Last, so that it goes first and no caller outside sees a half-destroyed window.
    std::unique_ptr<TWindowPlayerControl> FPlayerControl;
};

template <typename Form = TFormMediaPlayer, typename... Arguments>
std::unique_ptr<Form> CreateFormMediaPlayer(Arguments &&...arguments)
{
    auto form = std::make_unique<Form>(std::forward<Arguments>(arguments)...);
    form->StartUp();
    return form;
}
