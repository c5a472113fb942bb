#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A recording of 16-bit mono samples read as runs of silence and of tones, each tone known
// only by the band its pitch falls in. Runs are measured in steps of 5 ms.
struct TToneSegment {
    int Band; // 0 for silence, else 1 + the index of the first band edge above the pitch
    double Start;
    double Length;
};

QList<TToneSegment> ToneSegments(const QByteArray &samples, int rate, const QList<double> &bandEdges);
// The tones that were heard, in order: silence and runs shorter than two steps (the seams
// between tones) are left out, and what they parted joins again.
QList<TToneSegment> Heard(const QList<TToneSegment> &segments);
// "band:seconds" of each run, for a failure message.
QString Describe(const QList<TToneSegment> &segments);
