#include "panel/window/Screenshot.h"

#include "files/ReplaceFile.h"

#include <QBuffer>
#include <QDir>

namespace {

// Far more screenshots than anyone takes in one second.
constexpr int MostNamesTried = 1000;

QString NameFor(const QDateTime& when, int number) {
    const QString stem = QStringLiteral("vexal-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return number == 1 ? stem + QStringLiteral(".png") : stem + QStringLiteral("-%1.png").arg(number);
}

}  // namespace

SavedScreenshot SaveScreenshot(const QImage& picture, const QString& folder, const QDateTime& when) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) return {{}, QStringLiteral("the picture could not be made into a PNG file")};
    const QDir into(folder);
    for (int number = 1; number <= MostNamesTried; ++number) {
        const QString path = into.filePath(NameFor(when, number));
        bool taken = false;
        const std::string problem = CreateNewFile(path.toStdString(), reinterpret_cast<const uint8_t*>(png.constData()),
                                                  size_t(png.size()), taken);
        if (problem.empty()) return {path, {}};
        // Only a name that is taken is worth another try.
        if (!taken) return {{}, QString::fromStdString(problem)};
    }
    return {{}, QStringLiteral("every name for this second is taken")};
}
