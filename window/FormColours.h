#pragma once

#include <QColor>

// The colours of the main window's design.
inline const QColor clSilver(192, 192, 192);
inline const QColor clGray(128, 128, 128);
inline const QColor clGreen(0, 128, 0);
inline const QColor clBlack(0, 0, 0);
inline const QColor clWhite(255, 255, 255);
inline const QColor clLime(0, 255, 0);
