// What is printed on each key of the face. The labels follow from the PC key
// tables: a key carries the character, or the name of the PC key, that
// reaches it, so the picture always agrees with the keyboard mapping.
#pragma once

#include <QString>

struct KeyLabel {
    QString legend;  // the main label
    QString second;  // the Cyrillic letter printed beside a Latin one
    QString hint;    // small print under a legend that names a function:
                     // the PC characters or key that reach it
};

// The label of key 2..55.
KeyLabel LabelOfKey(int key);

// A character of code page 1251 as far as the key tables use it: ASCII, the
// Russian letters and Ё/ё.
QChar UnicodeFromCp1251(uint8_t c);
