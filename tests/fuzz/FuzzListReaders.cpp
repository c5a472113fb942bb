// libFuzzer targets for the list file readers, one per FUZZ_READER value. Besides running
// without a crash or hang, each reader must give back what it reads when its own output
// is read again.

#include "medialist/ListFileErrors.h"
#include "medialist/ListFormats.h"
#include "medialist/TTextFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

[[maybe_unused]] void FuzzOml(const QByteArray &bytes)
{
    TTextFile in = TTextFile::FromBytes(bytes);
    const QList<TListEntry> entries = ListFormats::ReadOmlPairs(in);
    TTextFile out = TTextFile::ForWriting(QString());
    ListFormats::WriteOmlPairs(out, entries);
    TTextFile again = TTextFile::FromBytes(out.Bytes());
    Check(ListFormats::ReadOmlPairs(again) == entries);
}

[[maybe_unused]] void FuzzCounted(const QByteArray &bytes)
{
    TTextFile in = TTextFile::FromBytes(bytes);
    QList<TListEntry> entries;
    try {
        entries = ListFormats::ReadCountedPairs(in);
    } catch (const EInOutError &error) {
        Check(error.ErrorCode() == 106);
        return;
    }
    Check(entries.size() <= bytes.size());
    TTextFile out = TTextFile::ForWriting(QString());
    ListFormats::WriteCountedPairs(out, entries);
    TTextFile again = TTextFile::FromBytes(out.Bytes());
    Check(ListFormats::ReadCountedPairs(again) == entries);
}

[[maybe_unused]] void FuzzPlain(const QByteArray &bytes)
{
    const QList<QByteArray> lines = ListFormats::SplitPlainList(bytes);
    Check(ListFormats::SplitPlainList(ListFormats::JoinPlainList(lines)) == lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_READER(bytes);
    return 0;
}
