#pragma once

#include <QByteArray>

// A QByteArray of the bytes [at, at + size) inside the buffer, sharing it: it keeps the buffer
// alive, and a change to it detaches as to any shared copy. The byte after the slice must
// be a NUL, as after every QByteArray's bytes.
inline QByteArray SharedSlice(const QByteArray &buffer, const char *at, qsizetype size)
{
    QByteArray slice = buffer;
    QByteArray::DataPointer &pointer = slice.data_ptr();
    pointer.ptr = const_cast<char *>(at);
    pointer.size = size;
    return slice;
}
