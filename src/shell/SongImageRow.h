#pragma once

// How the repository shows a song image fetched from the keyboard (a ".mix" file): the slot's
// name, taken from the file's base name, in the "Song Name" column, its own type text and the
// program's icon, so it stands apart from the MIDI songs beside it.

#include <QFileInfo>
#include <QIcon>
#include <QString>
#include <QStringList>

namespace korvana {

inline const QString kSongImageTypeName = QStringLiteral("Keyboard song image");

// Whether the name ends in ".mix" in any letter case.
bool IsSongImageName(const QString& name);

// The five columns of a song image row: name, base name, size, type and modification time.
QStringList SongImageRowTexts(const QFileInfo& info);

QIcon SongImageIcon();

}  // namespace korvana
