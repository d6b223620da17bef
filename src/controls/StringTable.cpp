#include "StringTable.h"

#include "ResourceIds.h"

namespace korvana {

QString LoadResString(int id) {
    switch (id) {
        case IDR_MAINFRAME:
        case AFX_IDS_APP_TITLE:
            return QStringLiteral("Korvana");
        case IDP_OLE_INIT_FAILED:
            return QStringLiteral(
                "OLE initialization failed.  Make sure that the OLE libraries are the correct "
                "version.");
        case IDS_COLUMN_NAME:
            return QStringLiteral("Name");
        case IDS_COLUMN_SIZE:
            return QStringLiteral("Size");
        case IDS_COLUMN_TYPE:
            return QStringLiteral("Type");
        case IDS_COLUMN_MODIFIED:
            return QStringLiteral("Modified");
        case IDS_COLUMN_SONG_NAME:
            return QStringLiteral("Song Name");
        case IDS_COLUMN_REPOSITORY:
            return QStringLiteral("Repository");
        case IDS_COLUMN_DEVICE:
            return QStringLiteral("Device");
        default:
            return {};
    }
}

}  // namespace korvana
