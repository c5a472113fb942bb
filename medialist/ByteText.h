#pragma once

#include <QByteArray>
#include <QString>

// File names and registry text values are bytes, which need not be UTF-8. The toolkit's own
// conversion replaces a byte that is no UTF-8 and cannot give it back; these keep it as a
// lone surrogate U+DC80..U+DCFF, so that bytes -> text -> bytes is exact. Valid UTF-8 reads
// as itself.
QString ByteText(const QByteArray &bytes);
QByteArray TextBytes(const QString &text);
// For the eye only: what cannot be shown as UTF-8 shows as U+FFFD.
QString DisplayedText(const QString &text);
