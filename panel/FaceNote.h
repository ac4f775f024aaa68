// A short note over the face that goes away by itself: what a key or the menu
// did, and where a file went. It takes no clicks and no keys, so the face
// works on under it.
#pragma once

#include <QLabel>
#include <QTimer>

class TFaceNote : public QLabel {
public:
    explicit TFaceNote(QWidget* face);

    // Shows the text near the top of the face for a few seconds, replacing
    // any note still shown; a warning stands out in its colour.
    void Show(const QString& text, bool warning = false);

    // Keeps the note in its place when the face changes size.
    void Place();

private:
    QTimer hide_;
};
