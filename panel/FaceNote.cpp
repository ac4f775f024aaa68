#include "panel/FaceNote.h"

#include "panel/LcdLayout.h"

namespace {

constexpr int ShownMs = 1500;
constexpr int TextPixels = 13;
// Centred under the display, where the face has no keys.
constexpr int NoteCentreX = LcdLeft + LcdWidth / 2;
constexpr int NoteTop = LcdTop + LcdHeight + 5;

}  // namespace

TFaceNote::TFaceNote(QWidget* face, int zoom) : QLabel(face), zoom_(zoom) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont text = font();
    text.setPixelSize(TextPixels * zoom_);
    setFont(text);
    setStyleSheet(QString("color: #202020; background: #FFF6D0; border: 1px solid #8A8060; border-radius: %1px; padding: %2px %3px;")
                      .arg(4 * zoom_)
                      .arg(3 * zoom_)
                      .arg(8 * zoom_));
    hide();
    HideTimer.setSingleShot(true);
    HideTimer.setInterval(ShownMs);
    connect(&HideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void TFaceNote::ShowNote(const QString& text) {
    setText(text);
    adjustSize();
    move(NoteCentreX * zoom_ - width() / 2, NoteTop * zoom_);
    show();
    raise();
    HideTimer.start();
}
