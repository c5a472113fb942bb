#include "ToneSegments.h"

#include <QStringList>
#include <cmath>
#include <cstring>
#include <vector>

QList<TToneSegment> ToneSegments(const QByteArray &samples, int rate, const QList<double> &bandEdges)
{
    const qsizetype count = samples.size() / 2;
    if (count == 0)
        return {}; // a sound server that played nothing may record nothing at all
    std::vector<int16_t> pcm(static_cast<size_t>(count));
    std::memcpy(pcm.data(), samples.constData(), size_t(count) * 2);
    const qsizetype window = rate / 200;
    QList<TToneSegment> segments;
    for (qsizetype at = 0; at + window <= count; at += window) {
        double energy = 0;
        int crossings = 0;
        for (qsizetype i = at; i < at + window; ++i) {
            energy += double(pcm[size_t(i)]) * pcm[size_t(i)];
            if (i > at && (pcm[size_t(i)] < 0) != (pcm[size_t(i - 1)] < 0))
                ++crossings;
        }
        int band = 0;
        if (std::sqrt(energy / double(window)) >= 300) {
            const double pitch = crossings / 2.0 / (double(window) / rate);
            band = 1;
            while (band <= bandEdges.size() && pitch >= bandEdges[band - 1])
                ++band;
        }
        const double start = double(at) / rate, length = double(window) / rate;
        if (!segments.isEmpty() && segments.last().Band == band)
            segments.last().Length += length;
        else
            segments.append({band, start, length});
    }
    return segments;
}

QList<TToneSegment> Heard(const QList<TToneSegment> &segments)
{
    QList<TToneSegment> heard;
    for (const TToneSegment &segment : segments) {
        if (segment.Band == 0 || segment.Length < 0.011)
            continue;
        if (!heard.isEmpty() && heard.last().Band == segment.Band)
            heard.last().Length += segment.Length;
        else
            heard << segment;
    }
    return heard;
}

QString Describe(const QList<TToneSegment> &segments)
{
    QStringList parts;
    for (const TToneSegment &segment : segments)
        parts << QStringLiteral("%1:%2").arg(segment.Band).arg(segment.Length, 0, 'f', 3);
    return parts.join(' ');
}
