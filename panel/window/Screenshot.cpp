#include "panel/window/Screenshot.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

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
        QFile file(into.filePath(NameFor(when, number)));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.write(png) == png.size() && file.flush()) return {file.fileName(), {}};
            const QString problem = file.errorString();
            file.remove();
            return {{}, problem};
        }
        // Only a name that is taken is worth another try.
        if (!file.exists()) return {{}, file.errorString()};
    }
    return {{}, QStringLiteral("every name for this second is taken")};
}
