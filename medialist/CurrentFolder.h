#pragma once

#include <QByteArray>
#include <QString>

// The process's current folder as its bytes (empty when it cannot be read), and as text
// that gives those bytes back exactly.
QByteArray CurrentFolderBytes();
QString CurrentFolder();

// A relative name taken as inside the folder; an absolute name, or any name against no
// folder, as it is. Both are texts of bytes, and so is the result; or the bytes themselves.
QString ResolvedPath(const QString &folder, const QString &name);
QByteArray ResolvedPathBytes(const QByteArray &folder, const QByteArray &name);
