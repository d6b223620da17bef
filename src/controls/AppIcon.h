#pragma once

#include <QIcon>

namespace korvana {

// The application's icon in all its drawn sizes; empty if none is compiled in.
QIcon LoadAppIcon();

}  // namespace korvana
