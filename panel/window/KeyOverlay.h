// The keys of the face labelled with the PC keys that reach them, drawn over
// the face while Ctrl is held: the key help's list where the keys are. The
// labels come from the key help's own table, so the two cannot disagree.
#pragma once

#include <QRect>
#include <QString>

#include <vector>

class QPainter;

struct KeyLabel {
    int key;
    QRect place;  // the key on the face, in face pixels
    QString text;
};

// Every face key that a PC key reaches, with those PC keys; the switch key,
// which only the mouse reaches, has none.
std::vector<KeyLabel> FaceKeyLabels();

// Paints the labels over the face shown zoom times larger, each within its
// key, in letters as large as fit.
void PaintKeyLabels(QPainter& window, const std::vector<KeyLabel>& labels, int zoom);
