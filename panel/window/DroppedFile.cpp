#include "panel/window/DroppedFile.h"

#include "core/Snapshot.h"
#include "panel/KeyTyper.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <span>

namespace {

bool IsText(const QString& text) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control && c != '\t' && c != '\n' && c != '\r') return false;
    return true;
}

}  // namespace

bool IsSnapshotFile(const QString& path) {
    const QFileInfo info(path);
    if (info.suffix().compare(QStringLiteral("vxs"), Qt::CaseInsensitive) == 0) return true;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) return false;
    const QByteArray start = file.read(16);
    return StartsAsSnapshot(std::span(reinterpret_cast<const uint8_t*>(start.constData()), size_t(start.size())));
}

DroppedFile ReadDroppedFile(const QString& path) {
    const QFileInfo info(path);
    // A pipe or a device of that name could be read forever.
    if (!info.isFile()) return {{}, QStringLiteral("it is not a file")};
    if (info.size() > qint64(MostTypedCharacters))
        return {{}, QStringLiteral("it is larger than the %1 bytes that are typed at most").arg(MostTypedCharacters)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {{}, file.errorString()};
    // One byte more than allowed tells a file that grew meanwhile.
    const QByteArray bytes = file.read(qint64(MostTypedCharacters) + 1);
    if (bytes.size() > qsizetype(MostTypedCharacters))
        return {{}, QStringLiteral("it is larger than the %1 bytes that are typed at most").arg(MostTypedCharacters)};
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || !IsText(text)) return {{}, QStringLiteral("it is not a text file")};
    return {text, {}};
}
