#include "panel/FaceNote.h"

namespace {

constexpr int ShownFor = 2500;  // ms
constexpr int TopMargin = 8;    // pixels between the face's top and the note

}  // namespace

TFaceNote::TFaceNote(QWidget* face) : QLabel(face) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setMargin(6);
    hide();
    hide_.setSingleShot(true);
    hide_.setInterval(ShownFor);
    connect(&hide_, &QTimer::timeout, this, &QWidget::hide);
}

void TFaceNote::Show(const QString& text, bool warning) {
    setStyleSheet(warning ? "background: rgba(150, 20, 20, 225); color: white; border-radius: 4px;"
                          : "background: rgba(20, 20, 20, 200); color: white; border-radius: 4px;");
    setText(text);
    Place();
    show();
    raise();
    hide_.start();
}

void TFaceNote::Place() {
    const QWidget* face = parentWidget();
    setMaximumWidth(face->width() - 2 * TopMargin);
    setWordWrap(sizeHint().width() > maximumWidth());
    adjustSize();
    move((face->width() - width()) / 2, TopMargin);
}
