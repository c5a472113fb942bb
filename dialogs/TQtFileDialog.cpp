#include "dialogs/TQtFileDialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QRegularExpression>

TQtFileDialog::TQtFileDialog(const QString &caption, const QString &folder)
    : QFileDialog(nullptr, caption, folder)
{
    setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions are shown as they are; the patterns Qt reads are appended to them.
    setOption(QFileDialog::HideNameFilterDetails);
    setOption(QFileDialog::DontConfirmOverwrite);
}

QStringList TQtFileDialog::WildcardPatterns(const QString &fileName)
{
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    const QStringList parts = fileName.split(separators, Qt::SkipEmptyParts);
    const bool wildcards = !parts.isEmpty() && std::all_of(parts.begin(), parts.end(), [](const QString &part) {
        return part.contains(QLatin1Char('*')) || part.contains(QLatin1Char('?'));
    });
    return wildcards ? parts : QStringList();
}

QFileSystemModel *TQtFileDialog::Listing() const
{
    return findChild<QFileSystemModel *>();
}

int TQtFileDialog::FilterNumber() const
{
    // The list shows the descriptions without the patterns, which selectedNameFilter() may
    // give either way; the place in the list is the same.
    const auto *types = findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    return types ? types->currentIndex() + 1 : 0;
}

void TQtFileDialog::SetFileName(const QString &fileName)
{
    const QStringList patterns = WildcardPatterns(fileName);
    if (patterns.isEmpty()) {
        selectFile(fileName);
        return;
    }
    if (QFileSystemModel *listing = Listing())
        listing->setNameFilters(patterns);
    if (auto *nameBox = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        nameBox->setText(fileName);
}

void TQtFileDialog::accept()
{
    const auto *nameBox = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const QString typed = nameBox ? nameBox->text() : QString();
    if (!WildcardPatterns(typed).isEmpty()) {
        SetFileName(typed);
        return;
    }
    const bool mustExist = fileMode() == QFileDialog::ExistingFile || fileMode() == QFileDialog::ExistingFiles;
    const QStringList chosen = selectedFiles();
    const bool anyMissing = std::any_of(chosen.begin(), chosen.end(), [](const QString &file) {
        return !QFileInfo::exists(file);
    });
    chosen_ = chosen;
    if (mustExist && acceptMode() == QFileDialog::AcceptOpen && !chosen.isEmpty() && anyMissing) {
        QDialog::accept(); // a missing name is the caller's to handle
        return;
    }
    QFileDialog::accept();
    if (result() == QDialog::Accepted)
        chosen_ = selectedFiles(); // as Qt settled them (the default suffix, a chosen folder)
}
