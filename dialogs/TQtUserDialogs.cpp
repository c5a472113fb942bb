#include "dialogs/TQtUserDialogs.h"

#include "about/OEMPConst.h"
#include "dialogs/TFileDialog.h"
#include "dialogs/TQtFileDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

void ShowBox(QWidget *owner, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, QString::fromLatin1(OEMPConst::ProductName), text, QMessageBox::Ok, owner);
    box.exec();
}

// Qt reads the patterns from a trailing "(...)", which the dialog then hides: the description
// shows as it is. "*.*" matches every name, as on the platform the filters were made for;
// letter case is ignored.
QStringList QtNameFilters(const TFileDialog &dialog)
{
    QStringList filters;
    for (const auto &[description, pattern] : dialog.FilterPairs()) {
        QStringList patterns = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        patterns.replaceInStrings(QRegularExpression(QStringLiteral("^\\*\\.\\*$")), QStringLiteral("*"));
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

// The old single-pane search dialog names a folder to search: here the user picks the folder.
bool PicksAFolder(const TFileDialog &dialog)
{
    return dialog.Options.testFlag(ofOldStyleDialog);
}

QFileDialog::FileMode ModeOf(const TFileDialog &dialog)
{
    if (PicksAFolder(dialog))
        return QFileDialog::Directory;
    if (dialog.Kind == TFileDialogKind::Save || dialog.Options.testFlag(ofNoValidate))
        return QFileDialog::AnyFile;
    return dialog.Options.testFlag(ofAllowMultiSelect) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile;
}

} // namespace

QWidget *TQtUserDialogs::Owner() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return mainWindow_.data();
}

void TQtUserDialogs::ShowMessage(const QString &text)
{
    ShowBox(Owner(), QMessageBox::NoIcon, text);
}

void TQtUserDialogs::ShowError(const QString &text)
{
    ShowBox(Owner(), QMessageBox::Critical, text);
}

bool TQtUserDialogs::Confirm(const QString &caption, const QString &question)
{
    QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::Yes | QMessageBox::No, Owner());
    return box.exec() == QMessageBox::Yes;
}

bool TQtUserDialogs::RunFileDialog(TFileDialog &dialog)
{
    TQtFileDialog box(Owner(), dialog.Title, dialog.InitialDir);
    box.setAcceptMode(dialog.Kind == TFileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(ModeOf(dialog));
    const QStringList filters = QtNameFilters(dialog);
    box.setNameFilters(filters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
        box.selectNameFilter(filters[dialog.FilterIndex - 1]);
    box.setDefaultSuffix(dialog.DefaultExt);
    if (!dialog.FileName.isEmpty() && !PicksAFolder(dialog))
        box.SetFileName(dialog.FileName);
    QObject::connect(&box, &QFileDialog::filterSelected, [&] { dialog.ChangeFilterIndex(box.FilterNumber()); });
    if (dialog.Options.testFlag(ofShowHelp)) {
        if (auto *buttons = box.findChild<QDialogButtonBox *>()) {
            buttons->addButton(QDialogButtonBox::Help);
            QObject::connect(buttons, &QDialogButtonBox::helpRequested, [&] { dialog.RequestHelp(); });
        }
    }
    if (box.exec() != QDialog::Accepted)
        return false;
    dialog.Files = box.ChosenFiles();
    if (PicksAFolder(dialog) && !dialog.Files.isEmpty())
        dialog.Files = QStringList{dialog.Files.first() + QStringLiteral("/") + dialog.FileName};
    dialog.FilterIndex = box.FilterNumber();
    return true;
}
