#include "medialist/TextFold.h"

#include "medialist/AsciiWords.h"

#include <QString>
#include <QUtf8StringView>
#include <cstring>

namespace {

using namespace AsciiWords;

bool IsAscii(const QByteArray &text)
{
    const char *data = text.constData();
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8)
        if (Word(data + i) & HighBits)
            return false;
    for (; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    return true;
}

// A hash of the bytes as their ASCII capitals lowered, without making that lowered copy.
uint32_t LoweredHash(const char *data, qsizetype size)
{
    uint64_t hash = 0x9E3779B97F4A7C15ULL ^ uint64_t(size);
    const auto mix = [&hash](uint64_t word) {
        hash = (hash ^ LoweredWord(word)) * 0xBF58476D1CE4E5B9ULL;
        hash ^= hash >> 29;
    };
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8)
        mix(Word(data + i));
    if (i < size) {
        uint64_t tail = 0;
        std::memcpy(&tail, data + i, size_t(size - i));
        mix(tail);
    }
    hash *= 0x94D049BB133111EBULL;
    return uint32_t(hash ^ (hash >> 32));
}

bool NeedsUnicodeFold(const QByteArray &text)
{
    return !IsAscii(text) && QUtf8StringView(text.constData(), text.size()).isValidUtf8();
}

bool SameAsciiText(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

} // namespace

namespace TextFold {

QByteArray Folded(const QByteArray &text)
{
    if (NeedsUnicodeFold(text))
        return QString::fromUtf8(text).toCaseFolded().toUtf8();
    QByteArray folded(text.size(), Qt::Uninitialized);
    char *out = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = AsciiLower(text.constData()[i]);
    return folded;
}

uint32_t Hash(const QByteArray &text)
{
    if (!NeedsUnicodeFold(text))
        return LoweredHash(text.constData(), text.size());
    // Folded text has no ASCII capitals left, so lowering it again changes nothing.
    const QByteArray folded = Folded(text);
    return LoweredHash(folded.constData(), folded.size());
}

bool SameText(const QByteArray &a, const QByteArray &b)
{
    if (!NeedsUnicodeFold(a) && !NeedsUnicodeFold(b))
        return SameAsciiText(a, b);
    return Folded(a) == Folded(b);
}

} // namespace TextFold
