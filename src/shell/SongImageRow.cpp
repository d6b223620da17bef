#include "shell/SongImageRow.h"

#include "controls/AppIcon.h"
#include "shell/CCJShell.h"

namespace korvana {

bool IsSongImageName(const QString& name) {
    return name.endsWith(QStringLiteral(".mix"), Qt::CaseInsensitive);
}

QStringList SongImageRowTexts(const QFileInfo& info) {
    return {CCJShell::GetDisplayName(info), info.completeBaseName(),
            info.size() == 0 ? QString() : CCJShell::FormatFileSize(info.size()),
            kSongImageTypeName, CCJShell::FormatFileTime(info.lastModified())};
}

QIcon SongImageIcon() {
    static const QIcon icon = LoadAppIcon();
    return icon;
}

}  // namespace korvana
