#include "controls/AppIcon.h"

#include <QFile>

#include "resources/KorvanaResources.h"

namespace korvana {

QIcon LoadAppIcon() {
    InitResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral(":/icons/korvana-%1.png").arg(size);
        if (QFile::exists(path)) {
            icon.addFile(path, QSize(size, size));
        }
    }
    return icon;
}

}  // namespace korvana
