#include "medialist/CurrentFolder.h"

#include "medialist/ByteText.h"

#include <climits>
#include <unistd.h>

QByteArray CurrentFolderBytes()
{
    char folder[PATH_MAX];
    return ::getcwd(folder, sizeof folder) ? QByteArray(folder) : QByteArray();
}

QString CurrentFolder()
{
    return ByteText(CurrentFolderBytes());
}

QString ResolvedPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || name.startsWith(QLatin1Char('/')))
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}
