#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <cstring>

class TTextFile;

struct TListEntry {
    QByteArray Text;
    bool Marked = false;
    bool operator==(const TListEntry &) const = default;
};

// The list file formats, apart from any list control, so that each reader can be tried on
// any bytes at all.
namespace ListFormats {

// OML pairs of mark line and name line until the end of the file; a mark line marks its
// entry only when it is exactly "1".
QList<TListEntry> ReadOmlPairs(TTextFile &file);
void WriteOmlPairs(TTextFile &file, const QList<TListEntry> &entries);
// An entry as an OML pair: how many bytes it takes, and the bytes put at the place given,
// which must have room for them; returns the place after them.
inline qsizetype OmlPairSize(QByteArrayView text)
{
    return text.size() + 5;
}
inline char *PutOmlPair(char *at, QByteArrayView text, bool marked)
{
    *at++ = marked ? '1' : '0'; // the mark line of a marked entry is exactly "1"
    *at++ = '\r';
    *at++ = '\n';
    std::memcpy(at, text.data(), size_t(text.size()));
    at += text.size();
    *at++ = '\r';
    *at++ = '\n';
    return at;
}

// A count line, then that many OML pairs. Reading stops at the end of the file even when
// the count promised more, so that no count can make it allocate without bound.
QList<TListEntry> ReadCountedPairs(TTextFile &file);
void WriteCountedPairs(TTextFile &file, const QList<TListEntry> &entries);

// Plain list: a NUL ends the text; lines end at CR LF, a lone CR or a lone LF; a line break
// at the very end makes no further empty line.
QList<QByteArray> SplitPlainList(const QByteArray &text);
QByteArray JoinPlainList(const QList<QByteArray> &lines);

// Whether every list file format can hold the name and give it back as it was: OML ends a
// line at CR, a plain list at CR and at LF.
bool CanHoldName(const QByteArray &name);

// Raise EFileStreamError naming the file when it cannot be read or written.
QList<QByteArray> ReadPlainListFile(const QString &path);
void WritePlainListFile(const QString &path, const QList<QByteArray> &lines);

} // namespace ListFormats
