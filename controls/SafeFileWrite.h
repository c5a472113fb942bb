#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's content so that a failure at any moment leaves either the old or the
// new content: the bytes go to a temporary file in the same folder, are flushed to disk and
// then renamed over the file, which keeps its permissions. A symbolic link keeps pointing at
// the file it names, which is the one replaced. Where the folder takes no new file but the
// file itself is writable, the file is rewritten in place.
// Returns 0, or the C library's error number of the step that failed.
int WriteFileSafely(const QString &path, const QByteArray &bytes);
