#include "panel/window/KeyOverlay.h"

#include "panel/window/KeyHelp.h"
#include "panel/KeyLayout.h"

#include <QPainter>

namespace {

constexpr int LargestLetters = 12;  // pixels at zoom 1
constexpr int SmallestLetters = 5;
constexpr QRgb LabelBackground = qRgba(255, 244, 170, 235);
constexpr QRgb LabelBorder = qRgb(90, 70, 0);

}  // namespace

std::vector<KeyLabel> FaceKeyLabels() {
    std::vector<KeyLabel> labels;
    for (const MachineKeyHelp& help : MachineKeysHelp()) {
        if (help.key > LastFaceKey || help.pcKeys.isEmpty()) continue;
        const KeyPlace place = PlaceOfKey(help.key);
        const KeyGroup& group = KeyGroups[place.group];
        labels.push_back({help.key, QRect(place.x, place.y, group.Width, group.Height), help.pcKeys.join(' ')});
    }
    return labels;
}

void PaintKeyLabels(QPainter& window, const std::vector<KeyLabel>& labels, int zoom) {
    window.save();
    window.resetTransform();
    window.setRenderHint(QPainter::Antialiasing);
    window.setRenderHint(QPainter::TextAntialiasing);
    QFont font = window.font();
    for (const KeyLabel& label : labels) {
        const QRect key(label.place.topLeft() * zoom, label.place.size() * zoom);
        window.setPen(QColor::fromRgb(LabelBorder));
        window.setBrush(QColor::fromRgba(LabelBackground));
        window.drawRoundedRect(QRectF(key).adjusted(0.5, 0.5, -0.5, -0.5), 2 * zoom, 2 * zoom);
        const QRect room = key.adjusted(zoom, zoom, -zoom, -zoom);
        const int flags = Qt::AlignCenter | Qt::TextWordWrap;
        int size = LargestLetters * zoom;
        for (; size > SmallestLetters * zoom; --size) {
            font.setPixelSize(size);
            if (room.contains(QFontMetrics(font).boundingRect(room, flags, label.text))) break;
        }
        font.setPixelSize(size);
        window.setFont(font);
        window.setPen(Qt::black);
        window.drawText(room, flags, label.text);
    }
    window.restore();
}
