// A short note over the face, below the display, that goes away by itself
// after a moment: news that asks nothing of the user, such as a snapshot
// saved. Clicks pass through it to the face.
#pragma once

#include <QLabel>
#include <QTimer>

class TFaceNote : public QLabel {
public:
    // A note over face, which is shown zoom times larger than its picture.
    TFaceNote(QWidget* face, int zoom);

    // Shows the text in place of any note still shown, for HideTimer's
    // interval.
    void ShowNote(const QString& text);

    QTimer HideTimer;

private:
    const int zoom_;
};
