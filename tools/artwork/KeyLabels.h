// What is printed on and above each key of the face: the label that the key
// table of our firmware gives it (firmware/keys.md), the second label that
// the key gives after the shift key, and the PC keys that reach it where its
// label does not say so. Which PC keys reach a key follows our firmware's
// key map, as the emulator types with it, so that the picture agrees with
// both the firmware and the keyboard.
#pragma once

#include <QString>
#include <cstdint>

struct KeyLabel {
    QString legend;   // the main label
    QString second;   // the Cyrillic letter printed beside a Latin one
    QString shifted;  // small, above the key: what it gives after the shift key
    QString hint;     // small print: the PC key or characters that reach
                      // the key, where the legend does not say so
    bool shiftKey = false;  // the shift key, printed in the colour of the
                            // letters beside the Latin ones
};

// The label of key 2..55.
KeyLabel LabelOfKey(int key);
