#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

// Walks the folder tree below the folder by paths, never through the process's current
// folder. Every folder's subfolders are walked before its own files are reported, names in
// each folder in sorted order (ignoring letter case first, then by bytes), so that the
// result does not depend on the file system. A regular file whose name matches one of the
// patterns (letter case ignored) is reported as folder, "/" and name. Hidden names, links and special
// files are neither entered nor reported; a folder that may not be listed reads as empty.
// Any other failure ends the walk with EInOutError, after what was found so far.
void WalkFolder(const QByteArray &folder, const QList<QByteArray> &patterns,
                const std::function<void(const QByteArray &path)> &found);
