#pragma once

// Identifiers of the program's resources, commands and controls, shared by every window.

namespace korvana {

// Application title.
inline constexpr int AFX_IDS_APP_TITLE = 57344;

// Column titles of the lists.
inline constexpr int IDS_COLUMN_NAME = 5001;
inline constexpr int IDS_COLUMN_SIZE = 5003;
inline constexpr int IDS_COLUMN_TYPE = 5005;
inline constexpr int IDS_COLUMN_MODIFIED = 5006;
inline constexpr int IDS_COLUMN_SONG_NAME = 5035;
inline constexpr int IDS_COLUMN_REPOSITORY = 5036;
inline constexpr int IDS_COLUMN_DEVICE = 5037;

// The two commands of the lists' right-click menu.
inline constexpr int ID_POPUP_DELETE = 32773;
inline constexpr int ID_POPUP_REFRESH = 32775;

// Pictures. The splash is stored as a PNG under its bitmap id.
inline constexpr int IDB_SPLASH = 1011;
inline constexpr int IDB_DOWNLOAD_ACTIVE = 149;
inline constexpr int IDB_DOWNLOAD_NORMAL = 150;
inline constexpr int IDB_CONNECT_ACTIVE = 151;
inline constexpr int IDB_CONNECT_NORMAL = 152;
inline constexpr int IDB_REFRESH_ACTIVE = 153;
inline constexpr int IDB_ABOUT_NORMAL = 154;
inline constexpr int IDB_ABOUT_ACTIVE = 155;
inline constexpr int IDB_COPY_DOWN_NORMAL = 156;
inline constexpr int IDB_COPY_DOWN_ACTIVE = 157;
inline constexpr int IDB_COPY_UP_NORMAL = 158;
inline constexpr int IDB_COPY_UP_ACTIVE = 159;
inline constexpr int IDB_HELP_NORMAL = 160;
inline constexpr int IDB_HELP_ACTIVE = 161;
inline constexpr int IDB_REFRESH_NORMAL = 162;

}  // namespace korvana
