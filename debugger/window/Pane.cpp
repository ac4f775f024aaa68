#include "debugger/window/Pane.h"

#include "debugger/window/Debug.h"
#include "debugger/window/DebugControls.h"

#include <QPalette>
#include <QScrollBar>

namespace {

// Enter on the main keyboard or on the keypad.
bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

TPane::TPane(TDebugForm& form, const QString& caption, const QRect& group, int scrollBarLeft)
    : GroupBox(new TGroupBox(caption, &form)), form_(form) {
    GroupBox->setGeometry(group);
    // The paint area and the scroll bar leave 16 pixels for the caption and
    // 8 below; the area leaves 8 on the left and 40 on the right.
    PaintBox = new TPaintBox(GroupBox);
    PaintBox->setGeometry(8, 16, group.width() - 40, group.height() - 24);
    Anchor(PaintBox, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    ScrollBar = new QScrollBar(Qt::Vertical, GroupBox);
    ScrollBar->setGeometry(scrollBarLeft, 16, 17, group.height() - 24);
    ScrollBar->setFocusPolicy(Qt::NoFocus);
    Anchor(ScrollBar, Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    PaintBox->ScrollBar = ScrollBar;

    Edit = new TEdit(GroupBox);
    Edit->setFrame(false);
    // A line edit keeps its text a couple of pixels off its edges and leaves
    // room for the caret after the last character; these margins take that
    // back, so that a field as wide as its characters shows them all, on the
    // pixels where the pane draws them.
    Edit->setTextMargins(-1, -1, -3, -1);
    QPalette colours = Edit->palette();
    colours.setColor(QPalette::Base, Qt::yellow);
    colours.setColor(QPalette::Text, Qt::black);
    Edit->setPalette(colours);
    CloseField(Edit);

    GroupBox->OnClick = [this] { Activate(); };
    PaintBox->OnPaint = [this](QPainter& painter) { PaintBoxPaint(painter); };
    PaintBox->OnMouseDown = [this](int x, int y) { PaintBoxMouseDown(x, y); };
    QObject::connect(ScrollBar, &QScrollBar::actionTriggered, ScrollBar,
                     [this] { BoxScroll(ScrollBar->sliderPosition()); });
    Edit->OnKeyDown = [this](int key) { return EditKeyDown(key); };
    Edit->OnChange = [this] { EditChange(); };
}

void TPane::Activate() { form_.ActivatePane(Edit, GroupBox); }

bool TPane::CommitOpenField() {
    if (Edit->text().isEmpty()) {
        form_.CloseFields();
        return true;
    }
    Commit();
    return form_.EditMode == EditNone;
}

void TPane::PaintBoxMouseDown(int x, int y) {
    if (!form_.ActivatePane(Edit, GroupBox)) return;
    const QSize cell = PaintBox->Cell();
    CellMouseDown(x / cell.width(), y / cell.height());
}

void TPane::BoxScroll(int position) {
    // The bar goes back to the listing's place when the open field keeps it.
    if (!form_.CommitField()) {
        PaintBox->update();
        return;
    }
    ScrollTo(position);
    Activate();
}

bool TPane::EditKeyDown(int key) {
    if (const std::optional<int> position = ScrollKey(key, ScrollBar); position && form_.EditMode == EditNone) {
        ScrollTo(*position);
        PaintBox->update();
        return true;
    }
    if (IsEnterKey(key)) {
        Commit();
        return true;
    }
    if (key == Qt::Key_Escape) {
        form_.CloseFields();
        return true;
    }
    return false;
}
