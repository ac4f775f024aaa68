// The display as plain text, read from LcdRam through the display layout
// tables that the front panel renders from.
#pragma once

#include <string>

// Ten lines, each ending in a newline: the 7 dot rows of the 12 character
// cells ("#" on, "." off, 5 characters a cell, cells one blank apart, top row
// first); "indicators:" with the table numbers of the indicators that are on;
// "digits:" with one hexadecimal byte per seven-segment digit (bit s for
// segment s); "cursor:" with the cell and shape, or "none". The cursor's
// blink is not applied to the dot rows.
std::string LcdText();
