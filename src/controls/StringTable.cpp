#include "controls/StringTable.h"

#include <utility>

#include "controls/ResourceIds.h"

namespace korvana {

QString LoadResString(int id) {
    static const std::pair<int, const char*> kTable[] = {
        {AFX_IDS_APP_TITLE, "Korvana"},
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
