// The colours of the generated front panel. Pure green is reserved: in a key
// picture it marks where the face shows through.
#pragma once

#include <QRgb>

namespace art {

constexpr QRgb Transparent = 0xFF00FF00;

// The case: charcoal, lighter at the top as if lit from above.
constexpr QRgb CaseTop = 0xFF3A3D42;
constexpr QRgb CaseBottom = 0xFF26282C;
constexpr QRgb CaseOutline = 0xFF0A0A0B;
constexpr QRgb CaseHighlight = 0xFF585C63;
constexpr QRgb CaseShadow = 0xFF141518;
constexpr QRgb KeyWell = 0xFF1E2023;

// The display window and its bezel.
constexpr QRgb Bezel = 0xFF131417;
constexpr QRgb BezelEdge = 0xFF4C5057;
constexpr QRgb LcdGlass = 0xFFFFFFFF;
constexpr QRgb LcdRim = 0xFF7E848C;

// Printing on the case.
constexpr QRgb PrintSilver = 0xFFD4D7DC;
constexpr QRgb PrintDim = 0xFF9AA0A8;
constexpr QRgb PrintAccent = 0xFFE07A36;

// Indicator pictures: the display's own ink on its white glass.
constexpr QRgb LcdInk = 0xFF000000;

}  // namespace art
