#include "TextFold.h"

#include <QHashFunctions>
#include <QString>
#include <QUtf8StringView>

namespace {

bool IsAscii(const QByteArray &text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
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
    for (qsizetype i = 0; i < text.size(); ++i)
        folded[i] = AsciiLower(text[i]);
    return folded;
}

uint32_t Hash(const QByteArray &text)
{
    const QByteArray folded = Folded(text);
    return uint32_t(qHashBits(folded.constData(), size_t(folded.size()), 0));
}

bool SameText(const QByteArray &a, const QByteArray &b)
{
    if (!NeedsUnicodeFold(a) && !NeedsUnicodeFold(b))
        return SameAsciiText(a, b);
    return Folded(a) == Folded(b);
}

} // namespace TextFold
