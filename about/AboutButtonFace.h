#pragma once

#include <QImage>
#include <QString>

// A face of the about box's buttons: a light grey plate with rounded corners and a darker
// rim, the caption in black bold type, and, for the mail button, an envelope left of it.
// Drawn at the screen's pixel ratio with true transparency around the plate, so that its
// edges and type are as sharp as the button row's at any scale.
enum class TAboutButtonMark { None, Envelope };

QImage AboutButtonFace(const QString &caption, TAboutButtonMark mark, qreal devicePixelRatio);
