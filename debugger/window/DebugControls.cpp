#include "debugger/window/DebugControls.h"

#include "debugger/Numbers.h"
#include "debugger/Symbols.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Ten lines of a pane fit the design height of its paint area, 137 pixels:
// a line pitch of 13 pixels, and a font of 12, 7 pixels a character, whose
// tallest glyphs and deepest descenders fit within the pitch. Seven pixels
// a character also give the listing room for its longest instruction.
constexpr int PanePixels = 12;
constexpr int LinePixels = 13;

// Resizes or moves one widget with its parent, keeping the distances to the
// parent's right and bottom edges that it had when anchored.
class EdgeKeeper : public QObject {
public:
    EdgeKeeper(QWidget* widget, Qt::Edges edges)
        : QObject(widget),
          widget_(widget),
          edges_(edges),
          rightGap_(widget->parentWidget()->width() - widget->x() - widget->width()),
          bottomGap_(widget->parentWidget()->height() - widget->y() - widget->height()) {
        widget->parentWidget()->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Resize) return false;
        const QSize parent = widget_->parentWidget()->size();
        QRect r = widget_->geometry();
        if (edges_ & Qt::RightEdge) {
            const int right = parent.width() - rightGap_;
            if (edges_ & Qt::LeftEdge) r.setWidth(std::max(0, right - r.x()));
            else r.moveLeft(right - r.width());
        }
        if (edges_ & Qt::BottomEdge) r.setHeight(std::max(0, parent.height() - bottomGap_ - r.y()));
        widget_->setGeometry(r);
        return false;
    }

private:
    QWidget* widget_;
    Qt::Edges edges_;
    int rightGap_;
    int bottomGap_;
};

}  // namespace

QFont PaneFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(PanePixels);
    // Most fixed-pitch fonts advance a fraction of a pixel more or less than
    // the whole-pixel width that QFontMetrics reports; a little letter
    // spacing makes up the difference, so that character n of any run
    // starts at n cells.
    const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    font.setLetterSpacing(QFont::AbsoluteSpacing, std::round(advance) - advance);
    return font;
}

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void TGroupBox::SetCaptionColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    setPalette(colours);
}

QColor TGroupBox::CaptionColor() const { return palette().color(QPalette::WindowText); }

void TGroupBox::mouseReleaseEvent(QMouseEvent* event) {
    QGroupBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
}

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {
    setFont(PaneFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TPaintBox::Cell() const {
    return {QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')), LinePixels};
}

int TPaintBox::Baseline() const {
    // The glyphs' extent, from the tallest to the deepest, centred in the
    // line; the font's own ascent and descent leave room for accents that
    // the panes never show.
    const QRect glyphs = QFontMetrics(font()).tightBoundingRect(QStringLiteral("(|@Qgjpy_"));
    return (LinePixels - glyphs.height()) / 2 - glyphs.top();
}

int TPaintBox::Columns() const { return width() / Cell().width(); }

int TPaintBox::Rows() const { return height() / Cell().height(); }

void TPaintBox::TextOut(QPainter& painter, int column, int row, const std::string& text) const {
    const QSize cell = Cell();
    painter.drawText(column * cell.width(), row * cell.height() + Baseline(),
                     QString::fromLatin1(text.data(), qsizetype(text.size())));
}

void TPaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    painter.setBackground(palette().base());
    painter.setBackgroundMode(Qt::OpaqueMode);
    if (OnPaint) OnPaint(painter);
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && OnMouseDown) OnMouseDown(at.x(), at.y());
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void TPaintBox::wheelEvent(QWheelEvent* event) {
    if (ScrollBar) QCoreApplication::sendEvent(ScrollBar, event);
}

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
    setFont(PaneFont());
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) OnChange();
        if (upperCase_) RaiseCase();
    });
}

void TEdit::SetUpperCase(bool upper) { upperCase_ = upper; }

// Comes after the change handler: setting the text clears the modified flag
// by which the handler's filter tells the user's changes.
void TEdit::RaiseCase() {
    const QString upper = text().toUpper();
    if (upper == text()) return;
    const int caret = cursorPosition();
    setText(upper);
    setCursorPosition(caret);
}

void TEdit::keyPressEvent(QKeyEvent* event) {
    if (OnKeyDown && OnKeyDown(event->key())) return;
    QLineEdit::keyPressEvent(event);
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && OnClick) OnClick();
}

void PlaceEdit(const TPaintBox* paintBox, TEdit* field, int column, int width, int row) {
    const QSize cell = paintBox->Cell();
    field->setGeometry(paintBox->x() + column * cell.width(), paintBox->y() + row * cell.height(),
                       width * cell.width(), cell.height());
    field->setMaxLength(width);
    field->clear();
    field->raise();
}

void CloseField(TEdit* field) {
    field->clear();
    field->setGeometry(0, 0, 0, field->height());
}

namespace {

bool IsNameCharacter(QChar c) { return c.unicode() < 0x80 && IsSymbolChar(char(c.unicode())); }

// Removes the characters that fail the test, as FilterDigits describes.
void FilterCharacters(QLineEdit* field, const std::function<bool(QChar)>& keep) {
    if (!field->isModified()) return;
    QString text = field->text();
    int caret = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    int selection = int(field->selectedText().size());
    bool removed = false;
    for (int i = 0; i < text.size();) {
        if (keep(text[i])) {
            ++i;
            continue;
        }
        text.remove(i, 1);
        removed = true;
        // i is the 0-based position of the character removed.
        if (caret >= i + 1) --caret;
        else if (caret + selection >= i + 1) --selection;
    }
    if (!removed) return;
    field->setText(text);
    if (selection > 0) field->setSelection(caret, selection);
    else field->setCursorPosition(caret);
}

}  // namespace

void FilterDigits(QLineEdit* field, int radix) {
    FilterCharacters(field, [radix](QChar c) { return c.unicode() < 0x80 && DigitValue(char(c.unicode())) < radix; });
}

void FilterAddress(QLineEdit* field, int radix) {
    if (Symbols.Empty()) FilterDigits(field, radix);
    else FilterCharacters(field, IsNameCharacter);
}

std::optional<int> ScrollKey(int key, const QScrollBar* bar) {
    int target = bar->value();
    switch (key) {
        case Qt::Key_PageUp: target -= bar->pageStep(); break;
        case Qt::Key_PageDown: target += bar->pageStep(); break;
        case Qt::Key_End: target = bar->maximum(); break;
        case Qt::Key_Home: target = bar->minimum(); break;
        case Qt::Key_Up: target -= bar->singleStep(); break;
        case Qt::Key_Down: target += bar->singleStep(); break;
        default: break;
    }
    target = std::clamp(target, bar->minimum(), std::max(bar->minimum(), bar->maximum()));
    if (target == bar->value()) return std::nullopt;
    return target;
}

void Anchor(QWidget* widget, Qt::Edges edges) { new EdgeKeeper(widget, edges); }
