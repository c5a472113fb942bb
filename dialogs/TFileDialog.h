#pragma once

#include <QFlags>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

class TUserDialogs;

enum TOpenOption {
    ofHideReadOnly = 0x01,
    ofShowHelp = 0x02,
    ofAllowMultiSelect = 0x04,
    ofEnableSizing = 0x08,
    ofNoValidate = 0x10,
    ofShareAware = 0x20,
    ofOldStyleDialog = 0x40,
};
Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOpenOptions)

enum class TFileDialogKind { Open, Save };

// What a common open or save dialog is asked to show and what the user chose in it.
// The dialog itself is shown through the user-dialog seam.
class TFileDialog {
public:
    using TTypeChangeEvent = std::function<void(TFileDialog &sender)>;

    explicit TFileDialog(TFileDialogKind kind) : Kind(kind) {}

    TFileDialogKind Kind;
    QString Title;
    // Pairs of description and pattern separated by "|".
    QString Filter;
    // 1-based number of the chosen filter pair.
    int FilterIndex = 1;
    TOpenOptions Options;
    QString DefaultExt;
    QString InitialDir;
    QString FileName;
    // Full paths of the chosen files, in the order the dialog reports them.
    QStringList Files;
    // The folder the user confirmed in: that of the chosen file.
    QString Folder;
    int HelpContext = 0;
    // Told of the file type the user picked, once the dialog has closed (confirmed or not), with
    // the last one picked: nothing of the caller's changes under the open dialog.
    TTypeChangeEvent OnTypeChange;
    // Called with HelpContext when the user asks for help while the dialog is open.
    std::function<void(int helpContext)> OnHelp;

    QList<QPair<QString, QString>> FilterPairs() const;

    // Shows the dialog; once confirmed, Folder and the process's current folder are the
    // chosen file's folder.
    bool Execute(TUserDialogs &dialogs);
    // For dialog implementations: the user picked another file type while the dialog is open.
    void ChangeFilterIndex(int filterIndex);

    // For dialog implementations: the user pressed the Help button.
    void RequestHelp() const;

private:
    bool open_ = false;
    bool typeChanged_ = false;
};
