#include "dialogs/TQtFileDialog.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QRegularExpression>

TQtFileDialog::TQtFileDialog(QWidget *parent, const QString &caption, const QString &folder)
    : QFileDialog(parent, caption, folder)
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
    // The list shows the descriptions without their patterns; depending on its version, Qt
    // gives the chosen filter whole or by its description alone.
    const QString chosen = selectedNameFilter();
    const QStringList filters = nameFilters();
    for (qsizetype place = 0; place < filters.size(); ++place) {
        const QString &filter = filters[place];
        if (filter == chosen || filter.left(filter.lastIndexOf(QLatin1String(" ("))).trimmed() == chosen)
            return int(place) + 1;
    }
    return 0;
}

QLineEdit *TQtFileDialog::NameBox() const
{
    // Qt offers no way to read or set what the user typed in the name box apart from the
    // files it names, and a wildcard name names none: the box is found by Qt's own name for
    // it. A test fails should a Qt update rename it.
    return findChild<QLineEdit *>(QLatin1String(NameBoxObjectName));
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
    if (QLineEdit *nameBox = NameBox())
        nameBox->setText(fileName);
}

void TQtFileDialog::accept()
{
    const QLineEdit *nameBox = NameBox();
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
