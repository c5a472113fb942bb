#include "medialist/ByteText.h"

#include <QUtf8StringView>

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, with its code point; 0 when invalid.
int Sequence(const unsigned char *data, qsizetype left, char32_t &point)
{
    const unsigned char lead = data[0];
    int length;
    char32_t minimum;
    if (lead < 0x80) {
        point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, point = lead & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(data[i]))
            return 0;
        point = (point << 6) | (data[i] & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < minimum || point > 0x10FFFF || surrogate ? 0 : length;
}

} // namespace

QString ByteText(const QByteArray &bytes)
{
    if (QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t point = 0;
        const int length = Sequence(data + at, bytes.size() - at, point);
        if (length == 0) {
            text += QChar(char16_t(EscapeBase + data[at]));
            ++at;
            continue;
        }
        text += QString::fromUcs4(&point, 1);
        at += length;
    }
    return text;
}

QByteArray TextBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    const qsizetype size = text.size();
    qsizetype plain = 0; // where the run of ordinary text since the last escaped byte starts
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t unit = text[at].unicode();
        const bool escaped = unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF
                             && (at == 0 || !text[at - 1].isHighSurrogate());
        if (!escaped)
            continue;
        bytes += QStringView(text).mid(plain, at - plain).toUtf8();
        bytes += char(unit - EscapeBase);
        plain = at + 1;
    }
    bytes += QStringView(text).mid(plain).toUtf8();
    return bytes;
}

QString DisplayedText(const QString &text)
{
    return QString::fromUtf8(TextBytes(text));
}
