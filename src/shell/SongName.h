#pragma once

#include <QString>

namespace korvana {

// The song name kept in a Standard MIDI File (its first meta event); empty when the file cannot
// be read or parsed.
QString ReadSongName(const QString& path);

}  // namespace korvana
