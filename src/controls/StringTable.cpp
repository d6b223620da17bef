#include "StringTable.h"

#include <utility>

#include "ResourceIds.h"

namespace korvana {

QString LoadResString(int id) {
    static const std::pair<int, const char*> kTable[] = {
        {IDR_MAINFRAME, "Korvana"},
        {AFX_IDS_APP_TITLE, "Korvana"},
        {IDP_OLE_INIT_FAILED,
         "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
        {IDS_COLUMN_NAME, "Name"},
        {IDS_COLUMN_SIZE, "Size"},
        {IDS_COLUMN_TYPE, "Type"},
        {IDS_COLUMN_MODIFIED, "Modified"},
        {IDS_COLUMN_SONG_NAME, "Song Name"},
        {IDS_COLUMN_REPOSITORY, "Repository"},
        {IDS_COLUMN_DEVICE, "Device"},
    };
    for (const auto& [key, text] : kTable) {
        if (key == id) {
            return QString::fromLatin1(text);
        }
    }
    return {};
}

}  // namespace korvana
