#pragma once

#include <QImage>

// The program's compiled-in pictures, by name (":/images/NAME.png").
QImage Artwork(const char *name);
