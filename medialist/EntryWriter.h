#pragma once

#include "medialist/ListFileErrors.h"
#include "medialist/SafeFileWrite.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstring>

// Writes a list file from the entries (or a snapshot of them) through the safe replace, a
// megabyte at a time: a long list needs no second copy of itself in memory, and each entry
// goes straight into its piece from the text's bytes where they lie. The format gives what
// comes before and after the entries (Head, Tail), how many bytes an entry takes (Size) and
// puts them at the place given (Put, which returns the place after them). Raises EInOutError.
template <typename TEntries, typename TFormat>
void WriteEntries(const QString &fileName, const TEntries &entries, const TFormat &format)
{
    constexpr qsizetype PieceSize = 1 << 20;
    const int count = entries.Count();
    const QByteArray head = format.Head(count);
    int row = 0;
    bool started = false;
    const int error = WriteFileSafely(fileName, [&](QByteArray &piece) {
        qsizetype used = 0;
        piece.resize(std::max(PieceSize, head.size())); // room, not bytes: they are written below
        if (!std::exchange(started, true)) {
            std::memcpy(piece.data(), head.constData(), size_t(head.size()));
            used = head.size();
        }
        for (; row < count; ++row) {
            const QByteArrayView text = entries.TextView(row);
            const qsizetype size = format.Size(text, row);
            if (used + size > piece.size()) {
                if (used > 0)
                    break;
                piece.resize(size); // one entry longer than a piece
            }
            used = format.Put(piece.data() + used, text, entries.MarkAt(row), row) - piece.constData();
        }
        piece.resize(used);
        if (row < count)
            return true;
        piece.append(format.Tail(count));
        return false;
    });
    if (error)
        throw EInOutError::FromErrno(error);
}
