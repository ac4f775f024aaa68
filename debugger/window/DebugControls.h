// The building blocks of the debug window: group boxes whose caption can be
// coloured and that report clicks, paint areas laid out in character cells,
// the edit fields with their key and change hooks, and the helpers that the
// panes share to place a field, filter typed digits and scroll by key.
#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

#include <functional>
#include <optional>

class QScrollBar;

// The fixed-pitch font of the panes and fields. Its characters
// are spaced a whole number of pixels apart, so that text drawn in one run
// stays on the character cells that clicks and fields are measured in.
QFont PaneFont();

// A group box that reports clicks on itself (not on its children) and whose
// caption colour can be set.
class TGroupBox : public QGroupBox {
public:
    TGroupBox(const QString& caption, QWidget* parent);

    void SetCaptionColor(const QColor& color);
    QColor CaptionColor() const;

    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A paint area in the pane font, cleared to the colour of text views before
// each paint; its handlers draw and take clicks in character cells.
class TPaintBox : public QWidget {
public:
    explicit TPaintBox(QWidget* parent);

    // One character cell: the width of "0" in the area's font and the
    // height of a line.
    QSize Cell() const;
    // The baseline of a line's text, in pixels below the line's top.
    int Baseline() const;
    // Whole cells that fit across and down.
    int Columns() const;
    int Rows() const;
    // Draws text from the cell at column, row on the area's background.
    void TextOut(QPainter& painter, int column, int row, const std::string& text) const;

    std::function<void(QPainter&)> OnPaint;
    std::function<void(int x, int y)> OnMouseDown;
    // The mouse wheel over the area turns this bar.
    QScrollBar* ScrollBar = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Taken here, so that it does not reach the group box as a click.
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

// A single-line field with the hooks the debug window uses.
class TEdit : public QLineEdit {
public:
    explicit TEdit(QWidget* parent);

    // Letters typed or pasted become upper case while this is on.
    void SetUpperCase(bool upper);

    // A key pressed in the field; returns true when it has dealt with the key,
    // so that the field does not act on it too.
    std::function<bool(int key)> OnKeyDown;
    std::function<void()> OnClick;
    // After every change of the text, whoever made it.
    std::function<void()> OnChange;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void RaiseCase();

    bool upperCase_ = false;
};

// Opens the field over the paint area at the cell column, row, width
// characters wide and one cell high; it takes at most width characters and
// starts empty.
void PlaceEdit(const TPaintBox* paintBox, TEdit* field, int column, int width, int row);

// Empties the field and shrinks it to nothing at the top left. It can still
// hold the keyboard focus, so that a pane whose field is closed still
// receives keys.
void CloseField(TEdit* field);

// Removes from a field that the user has changed every character that is no
// digit of the radix. The caret moves left past each character removed before
// it; a character removed inside the selection shortens the selection.
void FilterDigits(QLineEdit* field, int radix);

// FilterDigits for a field that takes an address: while the session has
// labels, a field may hold a label's name, and only characters that no name
// or number holds are removed.
void FilterAddress(QLineEdit* field, int radix);

// The position that a navigation key moves the bar to: Page Up and Page Down
// by the page step, Up and Down by the single step, Home and End to the ends.
// None for other keys, and when the position would not change.
std::optional<int> ScrollKey(int key, const QScrollBar* bar);

// Keeps a widget at its present distances from the given edges of its parent
// when the parent is resized; the left and top edges stay where they are.
void Anchor(QWidget* widget, Qt::Edges edges);
