// The user's commands on the media list: the Media and Edit menus and Help > About.

#include "window/TFormMediaPlayer.h"

#include "about/OEMPConst.h"
#include "about/TFormAboutOstrel.h"
#include "controls/TOECheckListBox.h"
#include "desktop/HandOver.h"
#include "dialogs/TUserDialogs.h"
#include "errorreport/TOstrelApplication.h"
#include "medialist/ByteText.h"
#include "medialist/ListFileErrors.h"
#include "medialist/ListFormats.h"
#include "window/TAutoSaver.h"

#include <QFile>
#include <QScopeGuard>
#include <algorithm>
#include <unistd.h>

namespace {

const QString CannotSave = QStringLiteral("Unable to save media files!");

QList<QByteArray> EncodedNames(const QStringList &files)
{
    QList<QByteArray> names;
    names.reserve(files.size());
    for (const QString &file : files)
        names.append(QFile::encodeName(file));
    return names;
}

} // namespace

void TFormMediaPlayer::NewMedia1Click(QObject *)
{
    if (!SaveBeforeReplacing())
        return;
    try {
        SetListFileName(StartFolder() + QStringLiteral("/newfile.") + ListExtension());
        FPlaylistSource.reset();
        RandomPool().Clear();
        lbFiles->ClearList();
        FHistory.Clear();
    } catch (...) {
        // New reports nothing.
    }
    FAutoSaver->Saved();
}

void TFormMediaPlayer::miLoadMediaClick(QObject *)
{
    // Before the dialog, which may move the working folder the old list file is resolved in.
    if (!SaveBeforeReplacing())
        return;
    FOpenDialog.InitialDir = StartFolder();
    FOpenDialog.DefaultExt = ListExtension();
    FOpenDialog.FileName = QStringLiteral("*.") + ListExtension();
    if (!ExecuteDialog(FOpenDialog))
        return;
    try {
        CloseMedia();
        // Loaded or not, the list shown is the one the file gave: nothing of it to write yet.
        const auto loaded = qScopeGuard([this] { FAutoSaver->Saved(); });
        SetListFileName(FOpenDialog.FileName);
        SetListType(ListTypeOf(FOpenDialog.FilterIndex));
        LoadMediaList();
    } catch (const EInOutError &) {
        UserDialogs().ShowMessage(CannotSave);
    }
}

void TFormMediaPlayer::miSearchClick(QObject *)
{
    FSearchDialog.DefaultExt = QStringLiteral("mp3");
    FSearchDialog.FileName = QStringLiteral("*");
    SetSearchType(TSearchType::Mp3);
    FSearchDialog.FilterIndex = int(TSearchType::Mp3);
    if (!ExecuteDialog(FSearchDialog))
        return;
    SetSearchType(SearchTypeOf(FSearchDialog.FilterIndex));
    try {
        SearchMediaFiles(SearchPattern(SearchType()));
    } catch (const EInOutError &) {
        UserDialogs().ShowMessage(CannotSave);
    }
}

void TFormMediaPlayer::miSaveClick(QObject *)
{
    SaveSettings();
}

void TFormMediaPlayer::miSaveMediaAsClick(QObject *)
{
    FSaveDialog.InitialDir = StartFolder();
    FSaveDialog.DefaultExt = ListExtension();
    FSaveDialog.FileName = QStringLiteral("*.") + ListExtension();
    if (!ExecuteDialog(FSaveDialog))
        return;
    SetListFileName(FSaveDialog.FileName);
    SetListType(ListTypeOf(FSaveDialog.FilterIndex));
    SaveSettings();
}

void TFormMediaPlayer::miDeleteClick(QObject *)
{
    const QString doomed = ListFileName();
    if (!UserDialogs().Confirm(QStringLiteral("Confirm"),
                               QStringLiteral("Do you want to delete the file \"") + DisplayedText(doomed)
                                   + QLatin1Char('"')))
        return;
    FAutoSaver->Settle(); // no save under way may bring the file back
    ::unlink(TextBytes(ListFilePath()).constData()); // a file that cannot be deleted is left as it is
    SetListFileName(QStringLiteral("noname.") + ListExtension());
    SaveSettings();
}

void TFormMediaPlayer::miAddClick(QObject *)
{
    try {
        if (!ExecuteDialog(FOpenDialog))
            return;
        QStringList refused;
        AddEntries(WithPlaylistEntries(EncodedNames(FOpenDialog.Files), refused));
        if (!refused.isEmpty())
            UserDialogs().ShowMessage(RefusedMessage(refused));
    } catch (...) {
        UserDialogs().ShowMessage(QStringLiteral("Unable to open ini files!"));
    }
}

void TFormMediaPlayer::AddEntries(const QList<QByteArray> &names)
{
    QList<QByteArray> held;
    held.reserve(names.size());
    for (const QByteArray &name : names)
        if (ListFormats::CanHoldName(name))
            held.append(name);
    const int first = lbFiles->Count();
    BeginListChange(first);
    const auto changed = qScopeGuard([this] { EndListChange(); });
    lbFiles->Append(held);
    lbFiles->MediaEntries().AppendToPool(RandomPool(), first);
}

void TFormMediaPlayer::miRemoveClick(QObject *)
{
    if (!lbFiles->ShowsAll()) {
        RemoveFoundEntry();
        return;
    }
    const int current = lbFiles->ItemIndex();
    try {
        RandomPool().RemoveFirst(lbFiles->Text(current));
    } catch (...) {
        // No selection: nothing to take from the pool.
    }
    try {
        const int doomed = lbFiles->IndexOf(lbFiles->Text(current));
        BeginListChange(doomed);
        const auto changed = qScopeGuard([this] { EndListChange(); });
        lbFiles->Delete(doomed);
        lbFiles->SetItemIndex(lbFiles->Count() > current ? current : 0);
    } catch (...) {
        UserDialogs().ShowMessage(QStringLiteral("Unable to remove media file from the media List!"));
    }
}

void TFormMediaPlayer::RemoveFoundEntry()
{
    // Only the selection the user sees is removed; the next match takes its place.
    const int current = lbFiles->ShownItemIndex();
    if (current < 0) {
        UserDialogs().ShowMessage(QStringLiteral("Unable to remove media file from the media List!"));
        return;
    }
    const int row = lbFiles->ShownRow(current);
    RandomPool().RemoveFirst(lbFiles->Text(current));
    BeginListChange(current);
    const auto changed = qScopeGuard([this] { EndListChange(); });
    lbFiles->Delete(current);
    lbFiles->SetItemIndex(lbFiles->EntryAtRow(std::min(row, lbFiles->ShownCount() - 1)));
}

void TFormMediaPlayer::miRemoveAllClick(QObject *)
{
    BeginListChange(0);
    const auto changed = qScopeGuard([this] { EndListChange(); });
    lbFiles->ClearList();
    RandomPool().Clear();
}

void TFormMediaPlayer::miAboutClick(QObject *)
{
    // The box lives only while it is shown.
    const auto box = CreateFormAboutOstrel(
        this, UserDialogs(), WorkingFolder(), QString::fromLatin1(OEMPConst::ProductName),
        QString::fromLatin1(OEMPConst::ProductEdition), QString::fromLatin1(OEMPConst::ProductRelease),
        QString::fromLatin1(OEMPConst::ProductCopyright), QString::fromLatin1(OEMPConst::ProductNotice));
    try {
        box->exec();
    } catch (...) {
        // Whatever goes wrong while the box is shown is dropped.
    }
}
