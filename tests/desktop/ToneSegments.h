#pragma once

#include <QByteArray>
#include <QList>

// A recording of 16-bit mono samples read as runs of silence and of tones, each tone known
// only by the band its pitch falls in. Runs are measured in steps of 5 ms.
struct TToneSegment {
    int Band; // 0 for silence, else 1 + the index of the first band edge above the pitch
    double Start;
    double Length;
};

QList<TToneSegment> ToneSegments(const QByteArray &samples, int rate, const QList<double> &bandEdges);
