#pragma once

#include <QByteArray>
#include <QtGlobal>

// Whether the machine has room for a list file: one that would take more than half of the
// memory still available is refused with EInOutError "Not enough memory", rather than
// loaded into swap until the machine comes to a halt.
namespace ListMemory {

// An entry's share of the list, the random pool, their lookups and the load, beyond its text.
constexpr qint64 PerEntry = 160;

// The bytes a list file of that size and that many entries takes to load and to keep.
qint64 Needed(qint64 fileBytes, qint64 entries);
bool Fits(qint64 needed, qint64 available);
// The memory the system still has for new work; the largest value when it cannot be read.
qint64 Available();

// Once a file is read: its entries are about as many as its lines (ended by CR or by LF,
// whichever it has more of), divided by the lines of an entry.
void RequireRoomToLoad(const QByteArray &bytes, int linesPerEntry);

} // namespace ListMemory
