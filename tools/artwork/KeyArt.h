// The machine's keys as pictures: the pressed and released picture of each
// key group, drawn pixel by pixel without smoothing so that one picture fits
// every key of its group exactly, and the part of a key that carries its
// label.
#pragma once

#include <QImage>
#include <QRect>

// The inside of key 2..55: the part of the key top that carries the label and
// moves one pixel right and down while the key is held, relative to the key's
// corner. Keys 2..36 and 37..55 differ in its height. The switch key (1) has
// none: its two pictures simply swap.
QRect KeyInside(int key);

// The colours of one group's keys.
struct KeyStyle {
    QRgb outline;
    QRgb bevelLight, bevelEdge;  // the lit top and left walls
    QRgb side, bottom;           // the walls in shade
    QRgb sunk;                   // the well's walls around a held key
    QRgb top, topLight, topShade;
    QRgb legend, second;         // the printed label: main and Cyrillic
};
const KeyStyle& StyleOfGroup(int group);

// The Width x Height picture of a key of the group, pure green wherever the
// face must show through: in the released picture exactly on the inside and
// at the rounded corners, in the pressed picture on the inside moved one
// pixel right and down and at the same corners.
QImage KeyPicture(int group, bool pressed);

// Copies the pixels of picture that are not pure green onto image at (x, y).
void DrawTransparent(QImage& image, int x, int y, const QImage& picture);
