// A short note over the face, below the display, that goes away by itself
// after a moment: what a key or the menu did and where a file went, news that
// asks nothing of the user. It takes no clicks and no keys, so the face works
// on under it.
#pragma once

#include <QLabel>
#include <QTimer>

class TFaceNote : public QLabel {
public:
    // A note over face, which is shown zoom times larger than its picture.
    TFaceNote(QWidget* face, int zoom);

    // Shows the text in place of any note still shown, for HideTimer's
    // interval; a warning stands out in its colour.
    void ShowNote(const QString& text, bool warning = false);

    // Follows the face to another zoom.
    void SetZoom(int zoom);

    QTimer HideTimer;

private:
    void Place();

    int zoom_;
    bool warning_ = false;
};
