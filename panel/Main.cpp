#include "panel/Main.h"

#include "core/Def.h"
#include "panel/FaceNote.h"
#include "panel/KeyHelp.h"
#include "panel/KeyLayout.h"
#include "panel/KeyTyper.h"
#include "panel/LcdLayout.h"
#include "panel/RunLoop.h"
#include "panel/SnapshotFile.h"
#include "panel/WarningBox.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb TransparentGreen = 0x00FF00;

constexpr int RunInterval = 10;
constexpr int RefreshInterval = 32;
constexpr int CursorInterval = 400;

constexpr int CursorCellMask = 0x0F;
constexpr uint8_t FullRow = 0x1F;
constexpr int StopIndicator = 9;  // drawn after the segments of its byte

void Fill(QImage& image, int left, int top, int right, int bottom, QRgb colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width());
    bottom = std::min(bottom, image.height());
    for (int y = top; y < bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + left, line + std::max(left, right), colour);
    }
}

// Copies a width x height block between two 32-bit images, or within one;
// overlapping blocks copy as if through a buffer.
void CopyBlock(const QImage& from, int fromX, int fromY, QImage& to, int toX, int toY, int width, int height) {
    const QImage block = from.copy(fromX, fromY, width, height);
    for (int y = 0; y < height; ++y) {
        if (toY + y < 0 || toY + y >= to.height()) continue;
        const QRgb* source = reinterpret_cast<const QRgb*>(block.constScanLine(y));
        QRgb* target = reinterpret_cast<QRgb*>(to.scanLine(toY + y));
        for (int x = 0; x < width; ++x)
            if (toX + x >= 0 && toX + x < to.width()) target[toX + x] = source[x];
    }
}

QImage BlankBitmap(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(White);
    return image;
}

}  // namespace

int VirtualKeyOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Right: return 39;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_F1: return VkKeyHelp;
    case Qt::Key_F3: return VkDebugWindow;
    case Qt::Key_F8: return 119;
    default: return 0;
    }
}

TMainForm::TMainForm(const StartupFiles& files, int zoom, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), files_(files), zoom_(zoom), note_(new TFaceNote(this, zoom)) {
    setWindowTitle("MK85");
    setFixedSize(FaceWidth * zoom_, FaceHeight * zoom_);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    RefreshTimer.setInterval(RefreshInterval);
    CursorTimer.setInterval(CursorInterval);
    RunTimer.SetInterval(RunInterval);
    connect(&RefreshTimer, &QTimer::timeout, this, [this] { OnRefreshTimer(); });
    connect(&CursorTimer, &QTimer::timeout, this, [this] { OnCursorTimer(); });
    RunTimer.SetOnTimer([this](QObject*) { OnRunTimer(); });

    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::Warn(const std::string& message) { ShowWarning(this, QString::fromStdString(message)); }

void TMainForm::FormCreate() {
    ScratchBitmap = std::make_unique<QImage>();
    FaceBitmap = std::make_unique<QImage>(BlankBitmap(FaceWidth, FaceHeight));
    LcdBitmap = std::make_unique<QImage>(BlankBitmap(LcdWidth, LcdHeight));
    KeysBitmap = std::make_unique<QImage>(BlankBitmap(KeysWidth, KeysHeight));
    ramImage_ = CreateMachine(files_, [this](const std::string& m) { Warn(m); });
}

void TMainForm::SaveRam() {
    // A RAM image that could not be read at start-up is the user's data, not
    // this session's: it is kept, and the user is told that this session's
    // RAM was not.
    const std::string problem = ramImage_ == RamImageState::Unreadable
                                    ? "it could not be read at start-up, so it is kept as it was"
                                    : ::SaveRam(files_.ram);
    ramSaved_ = problem.empty();
    if (!ramSaved_)
        Warn(SaveFailedMessage + QFileInfo(QString::fromStdString(files_.ram)).fileName().toStdString() + ": " +
             problem);
}

// A picture that is missing, cannot be decoded or has the wrong size leaves
// the bitmap blank.
void TMainForm::LoadPicture(const std::string& path, QImage& into, QSize size) {
    const QFileInfo file(QString::fromStdString(path));
    QImage picture;
    // Only a regular file: reading a pipe of that name would never end.
    if (!file.isFile() || !picture.load(file.filePath(), "BMP") || picture.size() != size) {
        Warn(LoadFailedMessage + file.fileName().toStdString());
        return;
    }
    into = picture.convertToFormat(QImage::Format_RGB32);
}

void TMainForm::FormShow() {
    // A warning box runs the message loop, in which a termination signal can
    // close the window and free the bitmaps.
    LoadPicture(files_.keys, *KeysBitmap, QSize(KeysWidth, KeysHeight));
    if (closed_) return;
    *ScratchBitmap = BlankBitmap(FaceWidth, FaceHeight);
    LoadPicture(files_.face, *ScratchBitmap, QSize(FaceWidth, FaceHeight));
    if (closed_) return;
    CopyBlock(*ScratchBitmap, 0, 0, *FaceBitmap, 0, 0, FaceWidth, FaceHeight);
    update();

    // The display starts empty, and every part of it is drawn at the first
    // refresh.
    LcdBitmap->fill(White);
    LcdShadow.fill(0xFF);
    ResetMachineForShow();

    RunTimer.SetEnabled(true);
    RefreshTimer.start();
    CursorTimer.start();
    LcdDirty = true;
}

void TMainForm::FormClose() {
    Paused = true;
    RunTimer.SetEnabled(false);
    RefreshTimer.stop();
    CursorTimer.stop();
    SaveRam();
    ScratchBitmap.reset();
    FaceBitmap.reset();
    LcdBitmap.reset();
    KeysBitmap.reset();
}

void TMainForm::OnRunTimer() {
    // A paste moves on only with ticks that run the processor, so that no
    // typed key passes while the machine stands still.
    if (paste_ && !Paused && RunDelay == 0) {
        const bool typing = paste_->BeforeTick();
        if (!typing) paste_.reset();
    }
    if (!Paused && RunDelay == 0) keyboard_.BeforeTick();
    RunTick(ShowDebugWindow);
}

void TMainForm::RenderLcd() {
    if (!LcdBitmap) return;
    const uint8_t cursor = Mk.LcdRam[CursorByte];
    for (int cell = 0; cell < LcdCells; ++cell) {
        const bool cursorHere = CursorPhase && (cursor & CursorCellMask) == cell;
        for (int row = 1; row <= CellRows; ++row) {
            const int index = RowByte(cell, row);
            uint8_t v = Mk.LcdRam[index];
            if (cursorHere) v = (row == CellRows || !(cursor & CursorUnderlineBit)) ? FullRow : 0;
            if (v == LcdShadow[index]) continue;
            LcdShadow[index] = v;
            LcdDirty = true;
            const int top = DotsTop + DotPitchY * (row - 1);
            for (int column = 0; column < CellColumns; ++column) {
                const int left = CellLeft(cell) + DotPitchX * column;
                Fill(*LcdBitmap, left, top, left + DotWidth, top + DotHeight, (v >> column) & 1 ? Black : White);
            }
        }
    }

    auto drawIndicator = [this](const Indicator& indicator) {
        DrawIndicator(indicator.x, indicator.y, indicator.srcX, IndicatorSrcY, indicator.width,
                      Mk.LcdRam[indicator.ramIndex] >> indicator.bit & 1);
    };
    for (const uint8_t index : IndicatorBytes) {
        if (Mk.LcdRam[index] == LcdShadow[index]) continue;
        LcdShadow[index] = Mk.LcdRam[index];
        for (const Indicator& indicator : Indicators)
            if (indicator.ramIndex == index) drawIndicator(indicator);
    }

    int segment = 0;
    for (const uint8_t index : SegmentBytes) {
        const int segments = std::min(5, Digits * SegmentsPerDigit - segment);
        if (Mk.LcdRam[index] != LcdShadow[index]) {
            LcdShadow[index] = Mk.LcdRam[index];
            for (int bit = 0; bit < segments; ++bit) {
                const int n = segment + bit;
                const Rect r = SegmentRect(n / SegmentsPerDigit, n % SegmentsPerDigit);
                DrawSegment(r.left, r.top, r.right, r.bottom, Mk.LcdRam[index] >> bit & 1);
            }
            if (index == Indicators[StopIndicator].ramIndex) drawIndicator(Indicators[StopIndicator]);
        }
        segment += segments;
    }
}

void TMainForm::DrawIndicator(int x, int y, int sourceX, int sourceY, int width, bool on) {
    if (on) CopyBlock(*KeysBitmap, sourceX, sourceY, *LcdBitmap, x, y, width, IndicatorHeight);
    else Fill(*LcdBitmap, x, y, x + width, y + IndicatorHeight, White);
    LcdDirty = true;
}

void TMainForm::DrawSegment(int left, int top, int right, int bottom, bool on) {
    Fill(*LcdBitmap, left, top, right, bottom, on ? Black : White);
    LcdDirty = true;
}

void TMainForm::OnRefreshTimer() {
    RenderLcd();
    if (LcdDirty) UpdateFace(LcdLeft, LcdTop, LcdWidth, LcdHeight);
    LcdDirty = false;
}

void TMainForm::OnCursorTimer() { CursorPhase = !CursorPhase; }

void TMainForm::FormPaint(QPainter& window) {
    if (!FaceBitmap) return;
    CopyBlock(*LcdBitmap, 0, 0, *FaceBitmap, LcdLeft, LcdTop, LcdWidth, LcdHeight);
    window.drawImage(0, 0, *FaceBitmap);
    LcdDirty = false;
}

void TMainForm::FormKeyDown(int virtualKey) {
    if (virtualKey == VkKeyHelp) {
        ToggleKeyHelp();
        return;
    }
    if (virtualKey == VkDebugWindow) {
        if (ShowDebugWindow) ShowDebugWindow();
        return;
    }
    if (const int key = KeyOfSpecialKey(virtualKey); key && !keyboard_.Special(key)) Mk.PcKey = key;
}

void TMainForm::FormKeyPress(uint8_t character) { PressCharacterKey(character); }

void TMainForm::FormKeyUp(int) { Mk.PcKey = 0; }

void TMainForm::MoveKeyInside(int key, int x, int y, bool pressed) {
    if (!FaceBitmap) return;
    const KeyGroup& g = KeyGroups[PlaceOfKey(key).group];
    const int width = g.Width - 9;
    const int height = g.Height - (key <= 36 ? 8 : 9);
    if (pressed) CopyBlock(*FaceBitmap, x + 4, y + 4, *FaceBitmap, x + 5, y + 5, width, height);
    else CopyBlock(*FaceBitmap, x + 5, y + 5, *FaceBitmap, x + 4, y + 4, width, height);
}

void TMainForm::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton) return;
    ReleaseMouseKey(-1, -1);
    KeyPlace place;
    const int key = KeyAtPoint(x, y, place);
    if (key == 0) {
        BeginWindowDrag();
        return;
    }
    Mk.MouseKey = key;
    if (key != SwitchKey) MoveKeyInside(key, place.x, place.y, true);
    DrawKey(place.group, place.x, place.y, true);
}

void TMainForm::FormMouseMove(int x, int y) { ReleaseMouseKey(x, y); }

void TMainForm::FormMouseUp(Qt::MouseButton button, int, int) {
    if (button != Qt::LeftButton) return;
    const int key = Mk.MouseKey;
    ReleaseMouseKey(-1, -1);
    if (key == SwitchKey) close();
    if (key == HaltKey && (Mk.KeyOut & 0x0002)) Mk.HaltRequest = true;
}

void TMainForm::FormDeactivate() {
    ReleaseMouseKey(-1, -1);
    keyboard_.Stop();
    Mk.PcKey = 0;
}

void TMainForm::ReleaseMouseKey(int x, int y) {
    if (Mk.MouseKey == 0) return;
    const KeyPlace place = PlaceOfKey(Mk.MouseKey);
    const KeyGroup& g = KeyGroups[place.group];
    if (x >= place.x && x < place.x + g.Width && y >= place.y && y < place.y + g.Height) return;
    if (Mk.MouseKey != SwitchKey) MoveKeyInside(Mk.MouseKey, place.x, place.y, false);
    DrawKey(place.group, place.x, place.y, false);
    Mk.MouseKey = 0;
}

void TMainForm::DrawKey(int group, int x, int y, bool pressed) {
    if (!FaceBitmap) return;
    const KeyGroup& g = KeyGroups[group];
    *ScratchBitmap = KeysBitmap->copy(g.SrcX, g.SrcY + (pressed ? 0 : g.Height), g.Width, g.Height);
    for (int dy = 0; dy < g.Height; ++dy) {
        const QRgb* source = reinterpret_cast<const QRgb*>(ScratchBitmap->constScanLine(dy));
        QRgb* target = reinterpret_cast<QRgb*>(FaceBitmap->scanLine(y + dy));
        for (int dx = 0; dx < g.Width; ++dx)
            if ((source[dx] & 0xFFFFFF) != TransparentGreen) target[x + dx] = source[dx];
    }
    UpdateFace(x, y, g.Width, g.Height);
}

void TMainForm::Paste(const QString& text) {
    const QList<uint> characters = text.toUcs4();
    keyboard_.Stop();
    paste_ = std::make_unique<KeyTyper>(std::u32string(characters.begin(), characters.end()), DefaultHoldTicks);
}

void TMainForm::StopPaste() {
    if (!paste_) return;
    paste_.reset();
    Mk.PcKey = 0;
}

// The messages name the file alone, as those of ram.bin do: its folder is
// the run folder.
void TMainForm::SaveMachine() {
    const QString name = QFileInfo(QString::fromStdString(files_.snapshot)).fileName();
    if (const std::string problem = SaveSnapshot(files_.snapshot, Mk); !problem.empty()) {
        Warn(SaveFailedMessage + name.toStdString() + ": " + problem);
        return;
    }
    note_->ShowNote("Machine saved to " + name);
}

void TMainForm::LoadMachine() {
    // Loaded aside, so that a file that does not load leaves the machine and
    // the keys held on it as they are.
    const QString name = QFileInfo(QString::fromStdString(files_.snapshot)).fileName();
    const auto loaded = std::make_unique<Machine>();
    if (const std::string problem = LoadSnapshot(files_.snapshot, *loaded); !problem.empty()) {
        Warn(LoadFailedMessage + name.toStdString() + ": " + problem);
        return;
    }
    // The keys are the user's, not the snapshot's: the one held now is let
    // go, on the face too, typing under way stops, and none the snapshot
    // holds is pressed, since no key-up or button release would ever come
    // for it.
    StopPaste();
    keyboard_.Stop();
    ReleaseMouseKey(-1, -1);
    Mk = *loaded;
    Mk.MouseKey = 0;
    Mk.PcKey = 0;
    RedrawDisplay();
    // The loaded ROM may carry another key map, or none.
    if (keyHelp_ && keyHelp_->isVisible()) keyHelp_->ListKeys();
    if (OnMachineLoaded) OnMachineLoaded();
    note_->ShowNote("Machine loaded from " + name);
}

// A white bitmap and a shadow of zeros agree: zero is every dot, indicator
// and segment off. So the render paints exactly what LcdRam turns on, even
// where a byte happens to equal what was drawn before.
void TMainForm::RedrawDisplay() {
    if (!LcdBitmap) return;
    LcdBitmap->fill(White);
    LcdShadow.fill(0);
    RenderLcd();
    UpdateFace(LcdLeft, LcdTop, LcdWidth, LcdHeight);
}

void TMainForm::ToggleKeyHelp() {
    if (!keyHelp_) keyHelp_ = std::make_unique<TKeyHelpForm>(this);
    if (keyHelp_->isVisible()) {
        keyHelp_->close();
        return;
    }
    keyHelp_->ListKeys();
    keyHelp_->move(geometry().center() - keyHelp_->rect().center());
    keyHelp_->show();
    keyHelp_->raise();
    keyHelp_->activateWindow();
}

void TMainForm::UpdateFace(int x, int y, int width, int height) {
    update(x * zoom_, y * zoom_, width * zoom_, height * zoom_);
}

QPoint TMainForm::FacePoint(const QPointF& position) const {
    // Rounded down, so that a point left of or above the window stays outside
    // the face.
    return {int(std::floor(position.x() / zoom_)), int(std::floor(position.y() / zoom_))};
}

void TMainForm::BeginWindowDrag() {
    if (QWindow* window = windowHandle()) window->startSystemMove();
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_ || event->spontaneous()) return;
    shown_ = true;
    FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (closed_) return;
    closed_ = true;
    FormClose();
    if (OnClosed) OnClosed();
}

void TMainForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Without smooth transformation each face pixel becomes a square block.
    painter.scale(zoom_, zoom_);
    FormPaint(painter);
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // Ctrl+V in any keyboard layout, but not the platform's other paste keys:
    // Shift+Insert is the machine's INS.
    const bool ctrlV = event->matches(QKeySequence::Paste) && event->modifiers() == Qt::ControlModifier;
    const bool ctrlS = event->key() == Qt::Key_S && event->modifiers() == Qt::ControlModifier;
    const bool ctrlL = event->key() == Qt::Key_L && event->modifiers() == Qt::ControlModifier;
    // Held down, each acts once.
    if ((ctrlV || ctrlS || ctrlL) && event->isAutoRepeat()) return;
    StopPaste();
    if (ctrlV) {
        if (const QClipboard* clipboard = QGuiApplication::clipboard()) Paste(clipboard->text());
        return;
    }
    if (ctrlS) SaveMachine();
    if (ctrlL) LoadMachine();
    if (ctrlS || ctrlL) return;
    if (const int virtualKey = VirtualKeyOf(event->key())) FormKeyDown(virtualKey);
    for (const char32_t c : event->text().toUcs4())
        if (!keyboard_.Character(c, event->isAutoRepeat())) FormKeyPress(Cp1251FromUnicode(c));
}

void TMainForm::keyReleaseEvent(QKeyEvent* event) {
    // A key held down repeats as pairs of release and press events; only the
    // real release lets go of the machine key.
    if (event->isAutoRepeat()) return;
    FormKeyUp(VirtualKeyOf(event->key()));
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
    StopPaste();
    const QPoint at = FacePoint(event->position());
    FormMouseDown(event->button(), at.x(), at.y());
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = FacePoint(event->position());
    FormMouseMove(at.x(), at.y());
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = FacePoint(event->position());
    FormMouseUp(event->button(), at.x(), at.y());
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) FormDeactivate();
}
