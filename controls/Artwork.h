#pragma once

#include <QImage>

// The program's compiled-in pictures, by name (":/images/NAME.png"). Where the screen has a
// device pixel ratio above 1 and the picture is also drawn at twice the size
// ("NAME@2x.png"), that one, at device pixel ratio 2.
QImage Artwork(const char *name, qreal devicePixelRatio = 1);
