#include "dialogs/TFileDialog.h"

#include "dialogs/TUserDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <utility>

QList<QPair<QString, QString>> TFileDialog::FilterPairs() const
{
    QList<QPair<QString, QString>> pairs;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        pairs.append({parts[i], parts[i + 1]});
    return pairs;
}

bool TFileDialog::Execute(TUserDialogs &dialogs)
{
    open_ = true;
    typeChanged_ = false;
    bool confirmed = false;
    {
        const auto closed = qScopeGuard([this] { open_ = false; });
        confirmed = dialogs.RunFileDialog(*this);
    }
    if (std::exchange(typeChanged_, false) && OnTypeChange)
        OnTypeChange(*this);
    if (!confirmed)
        return false;
    if (!Files.isEmpty())
        FileName = Files.first();
    if (!FileName.isEmpty()) {
        Folder = QFileInfo(FileName).absolutePath();
        QDir::setCurrent(Folder);
    }
    return true;
}

void TFileDialog::ChangeFilterIndex(int filterIndex)
{
    FilterIndex = filterIndex;
    if (open_)
        typeChanged_ = true;
    else if (OnTypeChange)
        OnTypeChange(*this);
}

void TFileDialog::RequestHelp() const
{
    if (OnHelp)
        OnHelp(HelpContext);
}
