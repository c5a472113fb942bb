#include "medialist/TTextFile.h"

#include "medialist/ByteText.h"
#include "medialist/InOutErrorCodes.h"
#include "medialist/ListFileErrors.h"
#include "medialist/RegularFileRead.h"
#include "medialist/SafeFileWrite.h"
#include "medialist/SharedSlice.h"

#include <QFile>
#include <cstring>
#include <limits>

namespace {

constexpr char EndOfFile = 0x1A;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

TTextFile TTextFile::OpenForReading(const QString &path)
{
    TTextFile file;
    file.path_ = path;
    if (const int error = ReadRegularFile(TextBytes(path), file.bytes_))
        throw EInOutError::FromErrno(error);
    return file;
}

TTextFile TTextFile::FromBytes(const QByteArray &bytes)
{
    TTextFile file;
    file.bytes_ = bytes;
    file.bytes_.detach(); // lines are cut from a buffer of the file's own
    return file;
}

TTextFile TTextFile::ForWriting(const QString &path)
{
    TTextFile file;
    file.path_ = path;
    return file;
}

bool TTextFile::Eof() const
{
    return position_ >= bytes_.size() || bytes_[position_] == EndOfFile;
}

QByteArray TTextFile::ReadLine()
{
    const qsizetype start = position_;
    const char *data = bytes_.constData();
    const auto *lineEnd = static_cast<const char *>(std::memchr(data + start, '\r', size_t(bytes_.size() - start)));
    qsizetype end = lineEnd ? lineEnd - data : bytes_.size();
    if (const auto *stop = static_cast<const char *>(std::memchr(data + start, EndOfFile, size_t(end - start))))
        end = stop - data;
    position_ = end;
    if (position_ < bytes_.size() && data[position_] == '\r') {
        ++position_;
        if (position_ < bytes_.size() && data[position_] == '\n')
            ++position_;
    }
    return Line(start, end);
}

QByteArray TTextFile::Line(qsizetype start, qsizetype end)
{
    QByteArray::DataPointer &buffer = bytes_.data_ptr();
    const bool endsAtCr = end < bytes_.size() && buffer.data()[end] == '\r';
    if (!buffer.d_ptr() || (!endsAtCr && end != bytes_.size()))
        return QByteArray(bytes_.constData() + start, end - start);
    // The CR is behind the reading position and in no line handed out, so it can become the
    // line's terminating NUL; the buffer's own NUL ends the last line.
    buffer.data()[end] = '\0';
    return SharedSlice(bytes_, bytes_.constData() + start, end - start);
}

int TTextFile::ReadInteger()
{
    const char *data = bytes_.constData(); // never a detaching access: lines share the buffer
    while (!Eof() && IsBlank(data[position_]))
        ++position_;
    if (Eof())
        return 0;
    qsizetype end = position_;
    while (end < bytes_.size() && !IsBlank(data[end]) && data[end] != EndOfFile)
        ++end;
    bool ok = false;
    const long long value = bytes_.mid(position_, end - position_).toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EInOutError(InOutCode::InvalidNumericInput);
    position_ = end;
    return int(value);
}

void TTextFile::SkipLine()
{
    ReadLine();
}

void TTextFile::WriteLine(const QByteArray &line)
{
    bytes_ += line;
    bytes_ += "\r\n";
}

void TTextFile::Close()
{
    if (const int error = WriteFileSafely(path_, bytes_))
        throw EInOutError::FromErrno(error);
}
