#pragma once

#include <QByteArray>

// Reads a whole file, but only a regular one: a pipe, a device or a folder is refused with
// EACCES at once, checked on the opened descriptor (opening never waits for a pipe's writer).
// Returns 0, or the C library's error number of the step that failed.
int ReadRegularFile(const QByteArray &path, QByteArray &content);
