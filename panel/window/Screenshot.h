// Screenshots of the face, saved as PNG files that never replace one another.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

struct SavedScreenshot {
    QString path;     // the file written; empty when none was
    QString problem;  // why nothing was written
};

// Saves the picture as PNG in the folder as "vexal-YYYYMMDD-HHMMSS.png" for
// the time given, or, where that name is taken, with "-2", "-3" and so on
// before ".png". Each name is taken only if no file has it, so a file that
// appears meanwhile is never replaced, and the file appears whole or not at
// all (CreateNewFile).
SavedScreenshot SaveScreenshot(const QImage& picture, const QString& folder, const QDateTime& when);
