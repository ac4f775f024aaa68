#include "IconArt.h"

#include <QLinearGradient>
#include <QPainter>

#include "ArtPalette.h"

namespace {

// Drawn on a grid of 64 units, scaled to the size asked for.
constexpr double Grid = 64;

QColor Colour(QRgb rgb) { return QColor::fromRgb(rgb); }

void DrawCase(QPainter& painter) {
    QLinearGradient shade(0, 8, 0, 56);
    shade.setColorAt(0, Colour(art::CaseTop));
    shade.setColorAt(1, Colour(art::CaseBottom));
    painter.setPen(QPen(Colour(art::CaseOutline), 1));
    painter.setBrush(shade);
    painter.drawRoundedRect(QRectF(2.5, 8.5, 59, 47), 6, 6);
}

// The display in its bezel, with a few characters and the cursor on it.
void DrawDisplay(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour(art::Bezel));
    painter.drawRoundedRect(QRectF(6, 12, 34, 14), 2.5, 2.5);
    painter.setBrush(Colour(art::LcdGlass));
    painter.drawRect(QRectF(8, 15, 30, 8));
    painter.setBrush(Colour(art::LcdInk));
    for (int cell = 0; cell < 4; ++cell) painter.drawRect(QRectF(10 + 5 * cell, 17, 3.5, 4));
    painter.drawRect(QRectF(30, 20, 3.5, 1));
}

void DrawStripes(QPainter& painter) {
    const QRgb stripes[] = {art::PrintAccent, art::StripeRed, art::StripeWine};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(Colour(stripes[i]));
        painter.drawRect(QRectF(43, 14 + 3.5 * i, 15, 2));
    }
}

void DrawKey(QPainter& painter, const QRectF& key, QRgb top) {
    painter.setPen(QPen(Colour(art::CaseOutline), 0.8));
    painter.setBrush(Colour(top));
    painter.drawRoundedRect(key, 1.2, 1.2);
}

// Grey letter keys on the left, the light number pad on the right and the
// orange execute key at its bottom.
void DrawKeys(QPainter& painter) {
    constexpr QRgb Grey = 0xFF5A5F67;
    constexpr QRgb Light = 0xFFC4C8CD;
    constexpr QRgb Orange = 0xFFD8652C;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            DrawKey(painter, QRectF(6 + 8.5 * column, 30 + 7.5 * row, 6.5, 5), Grey);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            DrawKey(painter, QRectF(43 + 8 * column, 30 + 7.5 * row, 6.5, 5), Light);
    DrawKey(painter, QRectF(43, 45, 14.5, 5), Orange);
}

}  // namespace

QImage DrawIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / Grid, size / Grid);
    DrawCase(painter);
    DrawDisplay(painter);
    DrawStripes(painter);
    DrawKeys(painter);
    return icon;
}
