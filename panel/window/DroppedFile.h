// A file dropped on the window, read as far as the window can use it: a
// snapshot to load, or a text to type on the machine, as the paste types the
// clipboard.
#pragma once

#include <QString>

struct DroppedFile {
    QString text;     // what to type, when problem is empty
    QString problem;  // why the file cannot be used
};

// Whether the file is meant as a snapshot: its name ends in ".vxs", or it
// begins as a snapshot does. Whether it loads is for the snapshot's checks.
bool IsSnapshotFile(const QString& path);

// Reads the file as UTF-8 text to type. A file that is not a plain file,
// that holds more than MostTypedCharacters bytes, or bytes that are not text
// (malformed UTF-8, NUL and other control characters besides tab and line
// breaks) is refused with the reason.
DroppedFile ReadDroppedFile(const QString& path);
