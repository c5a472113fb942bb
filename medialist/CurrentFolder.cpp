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

namespace {

template <typename TText> TText Resolved(const TText &folder, const TText &name)
{
    if (folder.isEmpty() || name.startsWith('/'))
        return name;
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

} // namespace

QString ResolvedPath(const QString &folder, const QString &name)
{
    return Resolved(folder, name);
}

QByteArray ResolvedPathBytes(const QByteArray &folder, const QByteArray &name)
{
    return Resolved(folder, name);
}
