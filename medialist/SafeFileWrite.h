#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Replaces a file's content so that a failure at any moment leaves either the old or the
// new content: the bytes go to a temporary file in the same folder, are flushed to disk and
// then renamed over the file, which keeps its permissions. A symbolic link keeps pointing at
// the file it names, which is the one replaced. The file is replaced only where the user may
// write the file itself and it is a regular file; a folder that takes no new file refuses
// the save (EACCES), since rewriting in place could leave a partly written file. Temporary
// files that killed saves of the same file left behind are removed.
// Returns 0, or the C library's error number of the step that failed.
int WriteFileSafely(const QString &path, const QByteArray &bytes);
// The same for content made piece by piece, so that no copy of all of it is needed: fill
// puts the next piece into the emptied buffer it is given and returns false after the last.
int WriteFileSafely(const QString &path, const std::function<bool(QByteArray &piece)> &fill);
