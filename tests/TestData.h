#pragma once

#include <QFile>

// A file of tests/data, named as a list entry holds it: the bytes of its path.
inline QByteArray TestDataFile(const char *name)
{
    return QFile::encodeName(QStringLiteral(TEST_DATA "/") + QLatin1String(name));
}
