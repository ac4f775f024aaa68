// What is printed on each key of the face: the label that the key table of
// our firmware gives it (firmware/README.md), and in small print the PC
// characters or key that reach it where they differ from the label, so that
// the picture agrees with both the firmware and the keyboard mapping.
#pragma once

#include <QString>
#include <cstdint>

struct KeyLabel {
    QString legend;  // the main label
    QString second;  // the Cyrillic letter printed beside a Latin one
    QString hint;    // small print under the legend: the PC characters or
                     // key that reach the key, where the legend differs
};

// The label of key 2..55.
KeyLabel LabelOfKey(int key);
