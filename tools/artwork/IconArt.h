// The program's icon for desktop menus and window lists: the machine seen
// from the front, reduced to what still reads at 48 pixels: the charcoal
// case, the display with a line of text, the colour stripes and the keys.
#pragma once

#include <QImage>

// The icon, size x size pixels, transparent around the case.
QImage DrawIcon(int size);
