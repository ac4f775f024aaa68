#include "panel/window/Main.h"

#include "core/Def.h"
#include "panel/window/DroppedFile.h"
#include "panel/window/FaceNote.h"
#include "panel/window/KeyHelp.h"
#include "panel/window/ModalDialogs.h"
#include "panel/KeyTyper.h"
#include "panel/LcdLayout.h"
#include "panel/RunLoop.h"
#include "panel/window/Screenshot.h"
#include "panel/SnapshotFile.h"
#include "panel/window/WarningBox.h"
#include "panel/WindowPlace.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
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
// How long Ctrl is held alone before the keys are labelled: longer than it
// is held for a shortcut.
constexpr int KeyLabelsDelay = 400;

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

ScreenArea AvailableArea(const QScreen& screen) {
    const QRect area = screen.availableGeometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

QScreen* ScreenFor(std::optional<WindowPosition> position) {
    QScreen* screen = position ? QGuiApplication::screenAt(QPoint(position->x, position->y)) : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

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
    setAcceptDrops(true);
    StartAt(std::nullopt);

    RefreshTimer.setInterval(RefreshInterval);
    CursorTimer.setInterval(CursorInterval);
    RunTimer.SetInterval(RunInterval);
    connect(&RefreshTimer, &QTimer::timeout, this, [this] { OnRefreshTimer(); });
    connect(&CursorTimer, &QTimer::timeout, this, [this] { OnCursorTimer(); });
    RunTimer.SetOnTimer([this](QObject*) { OnRunTimer(); });
    keyLabelsDelay_.setSingleShot(true);
    keyLabelsDelay_.setInterval(KeyLabelsDelay);
    connect(&keyLabelsDelay_, &QTimer::timeout, this, [this] { ShowKeyLabels(true); });

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
    LcdRedrawAll = true;
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
    // typed key passes while the machine stands still; and only such a tick
    // sees a key.
    const bool runs = !Paused && RunDelay == 0;
    if (paste_ && runs) {
        const bool typing = paste_->BeforeTick();
        if (!typing) paste_.reset();
    }
    // Typing through the shift key that began after a tap waits until the
    // tap has had its tick, so that quick typing keeps its order.
    if (runs && !keyTaps_.Waiting()) keyboard_.BeforeTick();
    // The machine tells how long a key is held by counting its own steps (a
    // held key repeats after so many): keys, and text typed, go at the
    // normal speed.
    const bool keys = paste_ || keyboard_.Typing() || Mk.PcKey != 0 || Mk.MouseKey != 0;
    RunTick(ShowDebugWindow, keys ? RunSpeed::Normal : speed_);
    if (!runs) return;
    keyTaps_.AfterTick();
    mouseKeySeen_ = true;
    LetGoOfClick();
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
            if (v == LcdShadow[index] && !LcdRedrawAll) continue;
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
        if (Mk.LcdRam[index] == LcdShadow[index] && !LcdRedrawAll) continue;
        LcdShadow[index] = Mk.LcdRam[index];
        for (const Indicator& indicator : Indicators)
            if (indicator.ramIndex == index) drawIndicator(indicator);
    }

    int segment = 0;
    for (const uint8_t index : SegmentBytes) {
        const int segments = std::min(5, Digits * SegmentsPerDigit - segment);
        if (Mk.LcdRam[index] != LcdShadow[index] || LcdRedrawAll) {
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
    LcdRedrawAll = false;
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
        Do(WindowAction::KeyHelp);
        return;
    }
    if (virtualKey == VkDebugWindow) {
        Do(WindowAction::DebugWindow);
        return;
    }
    if (const int key = KeyOfSpecialKey(virtualKey); key && !keyboard_.Special(key)) HoldPcKey(key);
}

void TMainForm::FormKeyPress(uint8_t character) { PressCharacterKey(character); }

void TMainForm::FormKeyUp(int) { keyTaps_.Released(); }

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
    MouseButtonReleased(key);
}

void TMainForm::FormDeactivate() {
    ReleaseMouseKey(-1, -1);
    keyboard_.Stop();
    Mk.PcKey = 0;
    keyTaps_.Clear();
    keyLabelsDelay_.stop();
    ShowKeyLabels(false);
}

void TMainForm::ReleaseMouseKey(int x, int y) {
    // A click's key held on for the machine shows let go already.
    if (clickLingers_) {
        LetGoOfClick();
        return;
    }
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
    if (size_t(characters.size()) > MostTypedCharacters) {
        note_->ShowNote(QStringLiteral("Not typed: the text is longer than %1 characters").arg(MostTypedCharacters), true);
        return;
    }
    keyboard_.Stop();
    keyTaps_.Clear();
    paste_ = std::make_unique<KeyTyper>(std::u32string(characters.begin(), characters.end()), DefaultHoldTicks);
}

void TMainForm::StopPaste() {
    if (!paste_) return;
    paste_.reset();
    Mk.PcKey = 0;
}

// The messages name a file of the run folder alone, as those of ram.bin do.
QString TMainForm::ShownName(const std::string& path) const {
    const QFileInfo file(QString::fromStdString(path));
    if (file.absolutePath() == QFileInfo(QString::fromStdString(files_.ram)).absolutePath()) return file.fileName();
    return QDir::toNativeSeparators(file.absoluteFilePath());
}

void TMainForm::SaveMachineTo(const std::string& path) {
    const QString name = ShownName(path);
    // The chooser asks before it replaces a file, but a snapshot in place of
    // the ROM, the RAM image or the pictures would lose them.
    const std::string problem = IsStartupFile(files_, path) ? "it is one of the files the emulator runs with"
                                                             : SaveSnapshot(path, Mk);
    if (!problem.empty()) {
        Warn(SaveFailedMessage + name.toStdString() + ": " + problem);
        return;
    }
    note_->ShowNote("Machine saved to " + name);
}

void TMainForm::LoadMachineFrom(const std::string& path) {
    // Loaded aside, so that a file that does not load leaves the machine and
    // the keys held on it as they are.
    const QString name = ShownName(path);
    const auto loaded = std::make_unique<Machine>();
    if (const std::string problem = LoadSnapshot(path, *loaded); !problem.empty()) {
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
    keyTaps_.Clear();
    Mk = *loaded;
    Mk.MouseKey = 0;
    Mk.PcKey = 0;
    RedrawDisplay();
    // The loaded ROM may carry another key map, or none.
    if (keyHelp_ && keyHelp_->isVisible()) keyHelp_->ListKeys();
    if (OnMachineLoaded) OnMachineLoaded();
    note_->ShowNote("Machine loaded from " + name);
}

QString TMainForm::ChooseSnapshotFile(bool saving) {
    if (snapshotFolder_.isEmpty()) snapshotFolder_ = QFileInfo(QString::fromStdString(files_.snapshot)).absolutePath();
    const QString path =
        ChooseFile(this, {.title = saving ? QStringLiteral("Save the machine as") : QStringLiteral("Open a saved machine"),
                          .start = snapshotFolder_,
                          .filter = QStringLiteral("Vexal snapshots (*.vxs);;All files (*)"),
                          .saving = saving,
                          .defaultSuffix = QStringLiteral("vxs")});
    // The chooser runs the message loop, in which a termination signal can
    // close the window.
    if (path.isEmpty() || closed_) return {};
    snapshotFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void TMainForm::SaveMachineAs() {
    if (const QString path = ChooseSnapshotFile(true); !path.isEmpty()) SaveMachineTo(path.toStdString());
}

void TMainForm::OpenMachine() {
    if (const QString path = ChooseSnapshotFile(false); !path.isEmpty()) LoadMachineFrom(path.toStdString());
}

void TMainForm::RedrawDisplay() {
    if (!LcdBitmap) return;
    LcdRedrawAll = true;
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

void TMainForm::StartAt(std::optional<WindowPosition> remembered) {
    const QScreen* on = ScreenFor(remembered);
    if (!on) return;
    std::vector<ScreenArea> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens.push_back(AvailableArea(*screen));
    const WindowPosition at = StartPosition(remembered, width(), height(), screens, AvailableArea(*on));
    move(at.x, at.y);
}

bool TMainForm::ZoomFits(int zoom) const {
    const QScreen* on = screen();
    return !on || FittingZoom(zoom, on->availableGeometry().width(), on->availableGeometry().height()) == zoom;
}

void TMainForm::Do(WindowAction action) {
    const QString text = QString::fromUtf8(EntryOf(action).text);
    switch (action) {
    case WindowAction::KeyHelp: ToggleKeyHelp(); break;
    case WindowAction::DebugWindow:
        if (ShowDebugWindow) ShowDebugWindow();
        break;
    case WindowAction::Paste:
        if (const QClipboard* clipboard = QGuiApplication::clipboard()) Paste(clipboard->text());
        break;
    case WindowAction::SaveMachine: SaveMachine(); break;
    case WindowAction::LoadMachine: LoadMachine(); break;
    case WindowAction::SaveMachineAs: SaveMachineAs(); break;
    case WindowAction::OpenMachine: OpenMachine(); break;
    case WindowAction::Screenshot: TakeScreenshot(); break;
    case WindowAction::SpeedNormal:
    case WindowAction::SpeedTwice:
    case WindowAction::SpeedTenTimes:
    case WindowAction::SpeedFastest:
        SetSpeed(SpeedOf(action));
        note_->ShowNote(QStringLiteral("Speed: ") + text);
        break;
    case WindowAction::Zoom1:
    case WindowAction::Zoom2:
    case WindowAction::Zoom3:
    case WindowAction::Zoom4:
        if (!ZoomFits(ZoomOf(action))) {
            note_->ShowNote(QStringLiteral("Zoom: ") + text + QStringLiteral(" does not fit the screen"), true);
            break;
        }
        SetZoom(ZoomOf(action));
        note_->ShowNote(QStringLiteral("Zoom: ") + text);
        break;
    case WindowAction::Reset:
        ResetTheMachine();
        note_->ShowNote(QStringLiteral("The machine is reset"));
        break;
    case WindowAction::Quit: close(); break;
    }
}

void TMainForm::ShowMenu(const QPoint& at) {
    if (!menu_) {
        menu_ = std::make_unique<QMenu>(this);
        menuItems_ = FillActionMenu(*menu_, [this](WindowAction action) { Do(action); });
    }
    UpdateMenu();
    menu_->popup(at);
}

void TMainForm::UpdateMenu() {
    for (const WindowActionEntry& entry : WindowActions) {
        QAction* item = menuItems_[size_t(entry.action)];
        if (IsSpeed(entry.action)) item->setChecked(SpeedOf(entry.action) == speed_);
        if (IsZoom(entry.action)) {
            item->setChecked(ZoomOf(entry.action) == zoom_);
            item->setEnabled(ZoomFits(ZoomOf(entry.action)));
        }
        if (entry.action == WindowAction::SpeedNormal)
            item->setText(QString::fromUtf8(entry.text) + QStringLiteral(" (CpuSpeed %1)").arg(CpuSpeed));
    }
}

void TMainForm::SetZoom(int zoom) {
    zoom_ = zoom;
    setFixedSize(FaceWidth * zoom_, FaceHeight * zoom_);
    if (const QScreen* on = screen()) {
        const WindowPosition kept = KeptOn({x(), y()}, width(), height(), AvailableArea(*on));
        move(kept.x, kept.y);
    }
    note_->SetZoom(zoom_);
    update();
}

void TMainForm::SetSpeed(RunSpeed speed) { speed_ = speed; }

QImage TMainForm::FacePicture() const {
    if (!FaceBitmap) return {};
    QImage face = FaceBitmap->copy();
    CopyBlock(*LcdBitmap, 0, 0, face, LcdLeft, LcdTop, LcdWidth, LcdHeight);
    return face.scaled(face.size() * zoom_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void TMainForm::TakeScreenshot() {
    const QImage picture = FacePicture();
    if (picture.isNull()) return;
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(picture);
    const QString folder = QFileInfo(QString::fromStdString(files_.ram)).absolutePath();
    const SavedScreenshot saved = SaveScreenshot(picture, folder, QDateTime::currentDateTime());
    if (saved.path.isEmpty())
        note_->ShowNote(QStringLiteral("Screenshot copied to the clipboard, but not saved in %1: %2")
                        .arg(QDir::toNativeSeparators(folder), saved.problem),
                    true);
    else
        note_->ShowNote(QStringLiteral("Screenshot saved as %1 and copied to the clipboard")
                        .arg(QDir::toNativeSeparators(saved.path)));
}

void TMainForm::ResetTheMachine() {
    StopPaste();
    keyboard_.Stop();
    ReleaseMouseKey(-1, -1);
    keyTaps_.Clear();
    ResetMachine();
    LcdRedrawAll = true;
}

void TMainForm::TypeFile(const QString& path) {
    const DroppedFile file = ReadDroppedFile(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.problem.isEmpty()) {
        note_->ShowNote(QStringLiteral("%1 is not typed: %2").arg(name, file.problem), true);
        return;
    }
    Paste(file.text);
    if (Pasting()) note_->ShowNote(QStringLiteral("Typing %1").arg(name));
}

void TMainForm::ShowKeyLabels(bool shown) {
    if (shown == KeyLabelsShown()) return;
    keyLabels_ = shown ? FaceKeyLabels() : std::vector<KeyLabel>();
    update();
}

void TMainForm::LetGoOfClick() {
    if (!clickLingers_) return;
    clickLingers_ = false;
    Mk.MouseKey = 0;
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
    if (!keyLabels_.empty()) PaintKeyLabels(painter, keyLabels_, zoom_);
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // The actions' keys are matched as they are, in any keyboard layout (Qt
    // gives the Latin letter of a key held with Ctrl), and not the
    // platform's other keys for the same thing: Shift+Insert is the
    // machine's INS, not a paste.
    const std::optional<WindowAction> action = ActionOfKey(*event);
    // Held down, an action happens once.
    if (action && event->isAutoRepeat()) return;
    StopPaste();
    // Ctrl held alone for a moment labels the keys; anything else hides them.
    if (event->key() == Qt::Key_Control && !(event->modifiers() & ~Qt::ControlModifier)) {
        if (!event->isAutoRepeat()) keyLabelsDelay_.start();
    } else {
        keyLabelsDelay_.stop();
        ShowKeyLabels(false);
    }
    if (action) {
        Do(*action);
        return;
    }
    if (!event->isAutoRepeat()) keyTaps_.BeforePress();
    if (const int virtualKey = VirtualKeyOf(event->key())) FormKeyDown(virtualKey);
    for (const char32_t c : event->text().toUcs4())
        if (!keyboard_.Character(c, event->isAutoRepeat())) FormKeyPress(Cp1251FromUnicode(c));
    if (!event->isAutoRepeat()) keyTaps_.AfterPress();
}

void TMainForm::keyReleaseEvent(QKeyEvent* event) {
    // A key held down repeats as pairs of release and press events; only the
    // real release lets go of the machine key.
    if (event->isAutoRepeat()) return;
    if (event->key() == Qt::Key_Control) {
        keyLabelsDelay_.stop();
        ShowKeyLabels(false);
    }
    FormKeyUp(VirtualKeyOf(event->key()));
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
    StopPaste();
    LetGoOfClick();
    const QPoint at = FacePoint(event->position());
    FormMouseDown(event->button(), at.x(), at.y());
    if (event->button() == Qt::LeftButton) mouseKeySeen_ = false;
    // The menu opens as the right button goes down, as menus of the desktop
    // do; a right click on a key does nothing, as ever.
    KeyPlace place;
    if (event->button() == Qt::RightButton && KeyAtPoint(at.x(), at.y(), place) == 0)
        ShowMenu(event->globalPosition().toPoint());
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = FacePoint(event->position());
    FormMouseMove(at.x(), at.y());
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = FacePoint(event->position());
    const int32_t key = Mk.MouseKey;
    const bool unseen = event->button() == Qt::LeftButton && !mouseKeySeen_;
    FormMouseUp(event->button(), at.x(), at.y());
    // A click shorter than a tick: the key shows let go at once, and stays
    // held for the machine until a tick has seen it. The switch key and the
    // halt key have acted already, on their release.
    if (unseen && key != 0 && key != SwitchKey && key != HaltKey && Mk.MouseKey == 0) {
        Mk.MouseKey = key;
        clickLingers_ = true;
    }
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) FormDeactivate();
}

void TMainForm::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse's right button has shown it already.
    if (event->reason() != QContextMenuEvent::Mouse) ShowMenu(event->globalPos());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    const bool file = data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile();
    if (file || data->hasText()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    event->acceptProposedAction();
    activateWindow();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile()) {
        const QString path = data->urls().first().toLocalFile();
        if (IsSnapshotFile(path)) LoadMachineFrom(path.toStdString());
        else TypeFile(path);
        return;
    }
    Paste(data->text());
    if (Pasting()) note_->ShowNote(QStringLiteral("Typing the text dropped"));
}
