// What the three panes of the debug window share: their parts and how they
// are hooked up. A pane is a group box at its place in the window, holding a
// paint area and a vertical scroll bar that follow the group's edges, and a
// closed in-place field: yellow, borderless, in the pane font, its text
// exactly on the character cells of the paint area, not reached by Tab.
// Clicking the group activates the pane; the paint area paints and takes
// clicks through the pane; the scroll bar, the mouse wheel over the paint
// area and the navigation keys in the field scroll it; Enter in the field
// commits it and Escape closes it.
//
// The window names a pane's parts and handlers by the pane's prefix and the
// names here: the disassembly pane's ListPaintBox is List.PaintBox, its
// ListPaintBoxPaint is TListPane::PaintBoxPaint and its ListEditKeyDown is
// the EditKeyDown here.
#pragma once

#include <QRect>
#include <QString>

class QPainter;
class QScrollBar;
class TDebugForm;
class TEdit;
class TGroupBox;
class TPaintBox;

class TPane {
public:
    // group: the group box's place in the window; scrollBarLeft: the scroll
    // bar's left edge in the group.
    TPane(TDebugForm& form, const QString& caption, const QRect& group, int scrollBarLeft);
    virtual ~TPane() = default;
    TPane(const TPane&) = delete;
    TPane& operator=(const TPane&) = delete;

    TGroupBox* GroupBox;
    TPaintBox* PaintBox;
    QScrollBar* ScrollBar;
    TEdit* Edit;

    // Focuses the pane's field, marks its caption blue and closes the
    // in-place fields, once the open one is committed.
    void Activate();

    // Commits the pane's open field as Enter would; a field with nothing
    // typed in it just closes. Returns false when the field stays open
    // because what was typed cannot be taken (the window says why).
    bool CommitOpenField();

protected:
    virtual void PaintBoxPaint(QPainter& painter) = 0;
    // A click on the character cell at column, row of the paint area, after
    // the pane has been activated.
    virtual void CellMouseDown(int column, int row) = 0;
    // Shows the pane from the scroll bar position; the caller repaints.
    virtual void ScrollTo(int position) = 0;
    // Enter in the open field.
    virtual void Commit() = 0;
    // After every change of the field's text.
    virtual void EditChange() = 0;

    TDebugForm& form_;

private:
    void PaintBoxMouseDown(int x, int y);
    // The user moved the scroll bar.
    void BoxScroll(int position);
    // With no field open a navigation key scrolls the pane; otherwise Enter
    // commits the open field and Escape closes it. Returns whether the key
    // was taken.
    bool EditKeyDown(int key);
};
