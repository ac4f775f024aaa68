#include "FaceArt.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ArtPalette.h"
#include "KeyArt.h"
#include "KeyLabels.h"
#include "panel/KeyLayout.h"
#include "panel/LcdLayout.h"

namespace {

QFont LabelFont(int pixelSize, bool bold = true) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStretch(QFont::Unstretched);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Space between the Latin and the Cyrillic letter of a key.
constexpr double PairGap = 4;

QColor Colour(QRgb rgb) { return QColor::fromRgb(rgb); }

// Draws text with its inked pixels centred on (cx, cy), which centres capitals,
// digits and signs alike where the font's line box would not.
void DrawCentred(QPainter& painter, const QString& text, const QFont& font, double cx, double cy,
                 QRgb colour) {
    const QRect ink = QFontMetrics(font).tightBoundingRect(text);
    painter.setFont(font);
    painter.setPen(Colour(colour));
    painter.drawText(QPointF(cx - ink.left() - ink.width() / 2.0, cy - ink.top() - ink.height() / 2.0),
                     text);
}

// The case: charcoal shading from top to bottom, a bevelled rim.
void DrawCase(QImage& face) {
    for (int y = 0; y < FaceHeight; ++y) {
        const double t = double(y) / (FaceHeight - 1);
        const QColor top = Colour(art::CaseTop), bottom = Colour(art::CaseBottom);
        const QRgb row = qRgb(int(top.red() + t * (bottom.red() - top.red()) + 0.5),
                              int(top.green() + t * (bottom.green() - top.green()) + 0.5),
                              int(top.blue() + t * (bottom.blue() - top.blue()) + 0.5));
        for (int x = 0; x < FaceWidth; ++x) face.setPixel(x, y, row);
    }
    QPainter painter(&face);
    painter.setPen(Colour(art::CaseHighlight));
    painter.drawLine(1, 1, FaceWidth - 2, 1);
    painter.drawLine(1, 1, 1, FaceHeight - 2);
    painter.setPen(Colour(art::CaseShadow));
    painter.drawLine(2, FaceHeight - 2, FaceWidth - 2, FaceHeight - 2);
    painter.drawLine(FaceWidth - 2, 2, FaceWidth - 2, FaceHeight - 2);
    painter.setPen(Colour(art::CaseOutline));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, FaceWidth - 1, FaceHeight - 1);
}

// A recessed area of the case: shaded edge above, lit edge below.
void DrawWell(QPainter& painter, const QPainterPath& area, QRgb fill) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour(art::CaseHighlight));
    painter.drawPath(area.translated(1, 1).united(area));
    painter.setBrush(Colour(art::CaseShadow));
    painter.drawPath(area);
    painter.setBrush(Colour(fill));
    painter.drawPath(area.translated(1, 1).intersected(area));
}

QPainterPath RoundedRect(const QRectF& area, double radius) {
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    return path;
}

// The rectangle that a group's keys cover on the face.
QRect GroupArea(int group) {
    const KeyGroup& g = KeyGroups[group];
    const int rows = (g.Count + g.Columns - 1) / g.Columns;
    const int columns = g.Count < g.Columns ? g.Count : g.Columns;
    return {g.Left, g.Top, (columns - 1) * g.StepX + g.Width, (rows - 1) * g.StepY + g.Height};
}

// The keys sit in one recessed well that follows the key groups down to a
// common bottom edge; the switch stays on the case. The rows left of the
// number pad reach across to it, so that no rounded corner notches the well
// where they meet.
void DrawKeyWell(QImage& face) {
    constexpr int Margin = 11;
    const int padLeft = GroupArea(3).left();
    int bottom = 0;
    for (int group = 1; group < KeyGroupCount; ++group) bottom = std::max(bottom, GroupArea(group).bottom());
    QPainterPath well;
    well.setFillRule(Qt::WindingFill);
    for (int group = 1; group < KeyGroupCount; ++group) {
        QRect area = GroupArea(group);
        area.setBottom(bottom);
        if (area.right() < padLeft) area.setRight(padLeft);
        well.addRoundedRect(QRectF(area.adjusted(-Margin, -Margin, Margin, Margin)), 7, 7);
    }
    QPainter painter(&face);
    DrawWell(painter, well.simplified(), art::KeyWell);
}

// The display window: a dark bezel around the glass. The glass itself stays
// plain white: the display is drawn over it while the program runs.
void DrawDisplay(QImage& face) {
    QPainter painter(&face);
    const QRect glass(LcdLeft, LcdTop, LcdWidth, LcdHeight);
    DrawWell(painter, RoundedRect(QRectF(glass.adjusted(-26, -22, 27, 19)), 9), art::Bezel);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour(art::LcdRim));
    painter.drawRect(LcdLeft - 2, LcdTop - 2, LcdWidth + 4, LcdHeight + 4);
    painter.setBrush(Colour(art::BezelEdge));
    painter.drawRect(LcdLeft - 1, LcdTop - 1, LcdWidth + 2, LcdHeight + 2);
    painter.fillRect(glass, Colour(art::LcdGlass));
}

// The maker's name between the display and the number pad, with the case's
// colour stripes under it, and the model above the number pad.
void DrawLogo(QImage& face) {
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRect letters = GroupArea(2);
    const QRect pad = GroupArea(3);
    const double nameCentre = (LcdLeft + LcdWidth + 27 + letters.right()) / 2.0;
    QFont maker = LabelFont(19);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    DrawCentred(painter, QStringLiteral("ЭЛЕКТРОНИКА"), maker, nameCentre, 52, art::PrintSilver);
    QFont model = LabelFont(30);
    model.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    DrawCentred(painter, QStringLiteral("МК 85"), model, pad.center().x() + 0.5, 48, art::PrintAccent);
    painter.setPen(Qt::NoPen);
    const QRgb stripes[] = {art::PrintAccent, art::StripeRed, art::StripeWine};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(Colour(stripes[i]));
        painter.drawRect(QRectF(nameCentre - 93, 72 + 5 * i, 186, 2));
    }
}

// The switch's positions, printed beside it.
void DrawSwitchPrint(QImage& face) {
    const KeyPlace place = PlaceOfKey(SwitchKey);
    const KeyGroup& g = KeyGroups[place.group];
    QPainter painter(&face);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = LabelFont(9);
    const double x = place.x + g.Width + 16;
    DrawCentred(painter, QStringLiteral("ON"), font, x, place.y + 8, art::PrintSilver);
    DrawCentred(painter, QStringLiteral("OFF"), font, x, place.y + g.Height - 8, art::PrintSilver);
    painter.setPen(Colour(art::PrintDim));
    painter.drawLine(place.x - 4, place.y - 6, place.x + g.Width + 28, place.y - 6);
    DrawCentred(painter, QStringLiteral("POWER"), LabelFont(8), place.x + g.Width / 2.0 + 12,
                place.y - 13, art::PrintDim);
}

// Keys lower than this inside carry one line of print; a hint of theirs goes
// above the key, onto the well.
constexpr int TwoLineInside = 16;

// The label on a key's inside. The inside is filled with the key top's
// colour first, so it joins the picture's rim without a seam.
void DrawLabel(QImage& face, int key, const QRect& inside, const KeyStyle& style) {
    const KeyLabel label = LabelOfKey(key);
    const bool hintInside = !label.hint.isEmpty() && inside.height() >= TwoLineInside;
    QPainter painter(&face);
    painter.fillRect(inside, Colour(style.top));
    painter.setClipRect(inside);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double cx = inside.left() + inside.width() / 2.0;
    const double cy = inside.top() + inside.height() / 2.0;
    if (!label.second.isEmpty()) {
        // The Latin and the Cyrillic letter as one centred pair.
        const QFont font = LabelFont(11);
        const double latin = QFontMetrics(font).tightBoundingRect(label.legend).width();
        const double cyrillic = QFontMetrics(font).tightBoundingRect(label.second).width();
        const double left = cx - (latin + PairGap + cyrillic) / 2;
        DrawCentred(painter, label.legend, font, left + latin / 2, cy, style.legend);
        DrawCentred(painter, label.second, font, left + latin + PairGap + cyrillic / 2, cy, style.second);
    } else if (hintInside) {
        DrawCentred(painter, label.legend, LabelFont(9), cx, cy - 4, style.second);
        DrawCentred(painter, label.hint, LabelFont(9), cx, cy + 5, style.legend);
    } else if (label.legend.size() > 1) {
        DrawCentred(painter, label.legend, LabelFont(label.legend.size() > 3 ? 8 : 9), cx, cy,
                    label.shiftKey ? style.second : style.legend);
    } else {
        DrawCentred(painter, label.legend, LabelFont(std::min(15, inside.height() + 1)), cx, cy, style.legend);
    }
}

// Printed small just above a key: what it gives after the shift key, in the
// colour of the shift key's own print, or the PC characters or key that
// reach a key too low to carry them inside.
void DrawAbove(QImage& face, int key, const KeyPlace& place) {
    const KeyLabel label = LabelOfKey(key);
    const bool hintAbove = !label.hint.isEmpty() && KeyInside(key).height() < TwoLineInside;
    if (label.shifted.isEmpty() && !hintAbove) return;
    QPainter painter(&face);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double cx = place.x + KeyGroups[place.group].Width / 2.0;
    if (!label.shifted.isEmpty())
        DrawCentred(painter, label.shifted, LabelFont(9), cx, place.y - 5, art::PrintAccent);
    else
        DrawCentred(painter, label.hint, LabelFont(8), cx, place.y - 5, art::PrintSilver);
}

}  // namespace

QImage DrawFace() {
    QImage face(FaceWidth, FaceHeight, QImage::Format_RGB32);
    DrawCase(face);
    DrawKeyWell(face);
    DrawDisplay(face);
    DrawLogo(face);
    DrawSwitchPrint(face);
    for (int key = 1; key <= LastFaceKey; ++key) {
        const KeyPlace place = PlaceOfKey(key);
        if (key != SwitchKey) {
            if (LabelOfKey(key).legend.isEmpty()) return {};
            DrawLabel(face, key, KeyInside(key).translated(place.x, place.y), StyleOfGroup(place.group));
            DrawAbove(face, key, place);
        }
        DrawTransparent(face, place.x, place.y, KeyPicture(place.group, false));
    }
    return face;
}
