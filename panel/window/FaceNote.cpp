#include "panel/window/FaceNote.h"

#include "panel/KeyLayout.h"
#include "panel/LcdLayout.h"

#include <algorithm>

namespace {

constexpr int ShownMs = 2500;
constexpr int TextPixels = 13;
constexpr int Margin = 8;  // face pixels kept free at the face's edges
// Centred under the display, where the face has no keys; a long note moves
// aside to stay on the face.
constexpr int NoteCentreX = LcdLeft + LcdWidth / 2;
constexpr int NoteTop = LcdTop + LcdHeight + 5;

}  // namespace

TFaceNote::TFaceNote(QWidget* face, int zoom) : QLabel(face), zoom_(zoom) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    hide();
    HideTimer.setSingleShot(true);
    HideTimer.setInterval(ShownMs);
    connect(&HideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void TFaceNote::ShowNote(const QString& text, bool warning) {
    warning_ = warning;
    setText(text);
    Place();
    show();
    raise();
    HideTimer.start();
}

void TFaceNote::SetZoom(int zoom) {
    zoom_ = zoom;
    if (isVisible()) Place();
}

void TFaceNote::Place() {
    QFont letters = font();
    letters.setPixelSize(TextPixels * zoom_);
    setFont(letters);
    setStyleSheet(QStringLiteral("color: %1; background: %2; border: 1px solid #8A8060; border-radius: %3px; "
                                 "padding: %4px %5px;")
                      .arg(warning_ ? "#FFFFFF" : "#202020", warning_ ? "#A02020" : "#FFF6D0")
                      .arg(4 * zoom_)
                      .arg(3 * zoom_)
                      .arg(8 * zoom_));
    const int room = (FaceWidth - 2 * Margin) * zoom_;
    setWordWrap(false);
    setMaximumWidth(QWIDGETSIZE_MAX);
    adjustSize();
    if (width() > room) {
        setMaximumWidth(room);
        setWordWrap(true);
        adjustSize();
    }
    const int left = std::clamp(NoteCentreX * zoom_ - width() / 2, Margin * zoom_, FaceWidth * zoom_ - Margin * zoom_ - width());
    move(left, NoteTop * zoom_);
}
