#pragma once

#include <QImage>

namespace korvana::art {

// The 800 x 600 start-up picture, without alpha (24 bits per pixel).
QImage DrawSplash();

}  // namespace korvana::art
