#include "medialist/MediaListFile.h"

#include "medialist/ListFileErrors.h"
#include "medialist/ListFormats.h"
#include "medialist/SafeFileWrite.h"
#include "medialist/TListSnapshot.h"
#include "medialist/TMediaEntries.h"
#include "medialist/TTextFile.h"

namespace {

enum TListFormat { NoFormat, OmlFormat, PlainFormat };

TListFormat FormatOf(TListType listType)
{
    switch (listType) {
    case TListType::Oml:
        return OmlFormat;
    case TListType::Mpu:
    case TListType::Text:
    case TListType::AnyFile:
        return PlainFormat;
    }
    return NoFormat;
}

// The list (the entries or a snapshot of them) written in OML pairs. A megabyte at a time: a
// long list needs no second copy of itself in memory, and each pair goes straight into its
// piece from the text's bytes where they lie.
template <typename TEntries> void SaveOmlOf(const QString &fileName, const TEntries &entries)
{
    constexpr qsizetype PieceSize = 1 << 20;
    int row = 0;
    const int error = WriteFileSafely(fileName, [&](QByteArray &piece) {
        qsizetype used = 0;
        piece.resize(PieceSize); // room, not bytes: they are written below
        for (; row < entries.Count(); ++row) {
            const QByteArrayView text = entries.TextView(row);
            const qsizetype size = ListFormats::OmlPairSize(text);
            if (used + size > piece.size()) {
                if (used > 0)
                    break;
                piece.resize(size); // one entry longer than a piece
            }
            used = ListFormats::PutOmlPair(piece.data() + used, text, entries.MarkAt(row)) - piece.constData();
        }
        piece.resize(used);
        return row < entries.Count();
    });
    if (error)
        throw EInOutError::FromErrno(error);
}

template <typename TEntries> void SaveOf(TListType listType, const QString &fileName, const TEntries &entries)
{
    switch (FormatOf(listType)) {
    case OmlFormat:
        SaveOmlOf(fileName, entries);
        break;
    case PlainFormat:
        ListFormats::WritePlainListFile(fileName, entries.Texts());
        break;
    case NoFormat:
        break;
    }
}

} // namespace

namespace MediaListFile {

void Load(TListType listType, const QString &fileName, TMediaEntries &entries)
{
    switch (FormatOf(listType)) {
    case OmlFormat:
        LoadOml(fileName, entries);
        break;
    case PlainFormat:
        entries.Clear();
        entries.Append(ListFormats::ReadPlainListFile(fileName));
        break;
    case NoFormat:
        entries.Clear();
        break;
    }
}

void Save(TListType listType, const QString &fileName, const TMediaEntries &entries)
{
    SaveOf(listType, fileName, entries);
}

void Save(TListType listType, const QString &fileName, const TListSnapshot &entries)
{
    SaveOf(listType, fileName, entries);
}

void LoadOml(const QString &fileName, TMediaEntries &entries)
{
    entries.Clear();
    TTextFile file = TTextFile::OpenForReading(fileName);
    entries.AppendEntries(ListFormats::ReadOmlPairs(file));
}

void SaveOml(const QString &fileName, const TMediaEntries &entries)
{
    SaveOmlOf(fileName, entries);
}

void SaveOml(const QString &fileName, const TListSnapshot &entries)
{
    SaveOmlOf(fileName, entries);
}

} // namespace MediaListFile
