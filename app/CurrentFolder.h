#pragma once

#include <QByteArray>
#include <QString>

// The process's current folder as its bytes (empty when it cannot be read), and as text
// that gives those bytes back exactly.
QByteArray CurrentFolderBytes();
QString CurrentFolder();
