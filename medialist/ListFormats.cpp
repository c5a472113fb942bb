#include "medialist/ListFormats.h"

#include "medialist/ByteText.h"
#include "medialist/ListFileErrors.h"
#include "medialist/ListMemory.h"
#include "medialist/RegularFileRead.h"
#include "medialist/SafeFileWrite.h"
#include "medialist/TTextFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <limits>

namespace ListFormats {

namespace {

// A mark line marks its entry only when it is exactly "1".
const char *MarkLine(bool marked)
{
    return marked ? "1" : "0";
}

// Pairs until the end of the file, or until there are that many.
QList<TListEntry> ReadPairs(TTextFile &file, qint64 most)
{
    const ListMemory::TLoadBudget budget(file.Bytes().size());
    QList<TListEntry> entries;
    while (entries.size() < most && !file.Eof()) {
        const QByteArray mark = file.ReadLine();
        entries.append(TListEntry{file.ReadLine(), mark == MarkLine(true)});
        budget.Check(entries.size());
    }
    return entries;
}

} // namespace

QList<TListEntry> ReadOmlPairs(TTextFile &file)
{
    return ReadPairs(file, std::numeric_limits<qint64>::max());
}

void WriteOmlPairs(TTextFile &file, const QList<TListEntry> &entries)
{
    for (const TListEntry &entry : entries) {
        file.WriteLine(MarkLine(entry.Marked));
        file.WriteLine(entry.Text);
    }
}

QList<TListEntry> ReadCountedPairs(TTextFile &file)
{
    const int count = file.ReadInteger();
    file.SkipLine();
    return ReadPairs(file, count);
}

void WriteCountedPairs(TTextFile &file, const QList<TListEntry> &entries)
{
    file.WriteLine(QByteArray::number(entries.size()));
    WriteOmlPairs(file, entries);
}

QList<QByteArray> SplitPlainList(const QByteArray &text)
{
    const ListMemory::TLoadBudget budget(text.size());
    QList<QByteArray> lines;
    const qsizetype nul = text.indexOf('\0');
    const qsizetype end = nul < 0 ? text.size() : nul;
    const char *data = text.constData();
    qsizetype start = 0;
    while (start < end) {
        qsizetype stop = start;
        while (stop < end && data[stop] != '\r' && data[stop] != '\n')
            ++stop;
        lines.append(QByteArray(data + start, stop - start));
        budget.Check(lines.size());
        if (stop < end && data[stop] == '\r') {
            ++stop;
            if (stop < end && data[stop] == '\n')
                ++stop;
        } else if (stop < end) {
            ++stop; // a lone LF
        }
        start = stop;
    }
    return lines;
}

QByteArray JoinPlainList(const QList<QByteArray> &lines)
{
    QByteArray text;
    qsizetype size = 0;
    for (const QByteArray &line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QByteArray &line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool CanHoldName(const QByteArray &name)
{
    return !name.contains('\r') && !name.contains('\n');
}

QList<QByteArray> ReadPlainListFile(const QString &path)
{
    QByteArray text;
    if (const int error = ReadRegularFile(TextBytes(path), text)) {
        if (error == ENOMEM)
            throw EInOutError::FromErrno(error);
        throw EFileStreamError::CannotOpen(path);
    }
    return SplitPlainList(text);
}

void WritePlainListFile(const QString &path, const QList<QByteArray> &lines)
{
    if (WriteFileSafely(path, JoinPlainList(lines)) != 0)
        throw EFileStreamError::CannotCreate(path);
}

} // namespace ListFormats
