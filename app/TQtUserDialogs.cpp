#include "TQtUserDialogs.h"

#include "OEMPConst.h"
#include "TFileDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

void ShowBox(QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, QString::fromLatin1(OEMPConst::ProductName), text, QMessageBox::Ok);
    box.exec();
}

// "*.OML" matches either case, "*.*" everything, as on the platform the filters were made for.
QString QtPatterns(const QString &pattern)
{
    QStringList patterns;
    for (const QString &one : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (one == QLatin1String("*.*")) {
            patterns << QStringLiteral("*");
            continue;
        }
        patterns << one;
        if (one.toLower() != one)
            patterns << one.toLower();
    }
    return patterns.join(QLatin1Char(' '));
}

QStringList QtNameFilters(const TFileDialog &dialog)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)$"));
    QStringList filters;
    for (const auto &[description, pattern] : dialog.FilterPairs()) {
        QString shown = description;
        shown.remove(trailingPatterns);
        filters << QStringLiteral("%1 (%2)").arg(shown, QtPatterns(pattern));
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

void TQtUserDialogs::ShowMessage(const QString &text)
{
    ShowBox(QMessageBox::NoIcon, text);
}

void TQtUserDialogs::ShowError(const QString &text)
{
    ShowBox(QMessageBox::Critical, text);
}

bool TQtUserDialogs::Confirm(const QString &caption, const QString &question)
{
    QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool TQtUserDialogs::RunFileDialog(TFileDialog &dialog)
{
    QFileDialog box(nullptr, dialog.Title, dialog.InitialDir);
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setAcceptMode(dialog.Kind == TFileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setOption(QFileDialog::DontConfirmOverwrite);
    box.setFileMode(ModeOf(dialog));
    const QStringList filters = QtNameFilters(dialog);
    box.setNameFilters(filters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
        box.selectNameFilter(filters[dialog.FilterIndex - 1]);
    box.setDefaultSuffix(dialog.DefaultExt);
    if (!dialog.FileName.isEmpty() && !PicksAFolder(dialog))
        box.selectFile(dialog.FileName);
    QObject::connect(&box, &QFileDialog::filterSelected, [&](const QString &filter) {
        dialog.ChangeFilterIndex(int(filters.indexOf(filter)) + 1);
    });
    if (dialog.Options.testFlag(ofShowHelp)) {
        if (auto *buttons = box.findChild<QDialogButtonBox *>()) {
            buttons->addButton(QDialogButtonBox::Help);
            QObject::connect(buttons, &QDialogButtonBox::helpRequested, [&] { dialog.RequestHelp(); });
        }
    }
    if (box.exec() != QDialog::Accepted)
        return false;
    dialog.Files = box.selectedFiles();
    if (PicksAFolder(dialog) && !dialog.Files.isEmpty())
        dialog.Files = QStringList{dialog.Files.first() + QStringLiteral("/") + dialog.FileName};
    dialog.FilterIndex = int(filters.indexOf(box.selectedNameFilter())) + 1;
    return true;
}
