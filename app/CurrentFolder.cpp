#include "CurrentFolder.h"

#include "ByteText.h"

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
