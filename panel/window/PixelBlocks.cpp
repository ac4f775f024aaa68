#include "panel/window/PixelBlocks.h"

#include <algorithm>

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
