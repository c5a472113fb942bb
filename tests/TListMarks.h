#pragma once

#include "medialist/TMediaEntries.h"

// The played marks of a list, entry by entry.
inline QList<bool> ListMarks(const TMediaEntries &entries)
{
    QList<bool> marks;
    for (int row = 0; row < entries.Count(); ++row)
        marks << entries.Checked(row);
    return marks;
}
