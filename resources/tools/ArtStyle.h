#pragma once

// Colours, fonts and the resolution shared by all of the program's pictures.

#include <QColor>
#include <QFont>
#include <QImage>

namespace korvana::art {

// Command-bar and transfer pictures are stored at 300 dpi.
inline constexpr int kDotsPerMetre300Dpi = 11800;

inline const QColor kPlateTop{234, 251, 249};
inline const QColor kPlateBottom{186, 233, 227};
inline const QColor kPlateBorder{88, 170, 164};
inline const QColor kWord{23, 50, 58};
inline const QColor kSymbolBlue{32, 96, 208};
inline const QColor kSymbolRed{212, 42, 42};
inline const QColor kTealDark{11, 46, 60};
inline const QColor kTeal{31, 138, 154};
inline const QColor kTurquoise{95, 211, 201};
inline const QColor kNavy{18, 59, 107};

// The words' typeface: a bold sans serif, narrower when condensed.
QFont WordFont(qreal pixelSize, bool condensed);

// A blank picture with an alpha channel, stored at 300 dpi.
QImage Blank300Dpi(int width, int height);

}  // namespace korvana::art
