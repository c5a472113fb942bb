#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

// The middle one of the figures (the upper middle of an even count).
inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// How long the action takes, in milliseconds.
template <typename Action> double Milliseconds(Action action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    return double(clock.nsecsElapsed()) / 1e6;
}
