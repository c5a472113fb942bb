#pragma once

#include <QByteArray>
#include <QtEndian>

// A wave file of silence (8 kHz, 8 bits, mono) that the engine plays: long enough that
// nothing ends while a test looks, or short enough to make many quickly.
inline QByteArray SilentWave(int milliseconds)
{
    const auto le32 = [](quint32 value) {
        QByteArray bytes(4, '\0');
        qToLittleEndian(value, bytes.data());
        return bytes;
    };
    const QByteArray samples(8 * milliseconds, char(0x80));
    return "RIFF" + le32(quint32(36 + samples.size())) + "WAVEfmt " + le32(16)
        + QByteArray::fromHex("01000100401f0000401f000001000800") + "data" + le32(quint32(samples.size())) + samples;
}
