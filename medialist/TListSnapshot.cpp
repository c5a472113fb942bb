#include "medialist/TListSnapshot.h"

QList<QByteArray> TListSnapshot::Texts() const
{
    QList<QByteArray> texts;
    texts.reserve(Count());
    for (int row = 0; row < Count(); ++row)
        texts.append(Text(row));
    return texts;
}
