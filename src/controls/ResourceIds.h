#pragma once

// Identifiers of the program's resources, commands and controls, shared by every window.

namespace korvana {

// Application title, icon and start-up messages.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int IDP_OLE_INIT_FAILED = 100;

// Column titles of the lists.
inline constexpr int IDS_COLUMN_NAME = 5001;
inline constexpr int IDS_COLUMN_SIZE = 5003;
inline constexpr int IDS_COLUMN_TYPE = 5005;
inline constexpr int IDS_COLUMN_MODIFIED = 5006;
inline constexpr int IDS_COLUMN_SONG_NAME = 5035;
inline constexpr int IDS_COLUMN_REPOSITORY = 5036;
inline constexpr int IDS_COLUMN_DEVICE = 5037;

// The right-click menu of the lists and its two commands.
inline constexpr int IDR_LIST_POPUP = 5032;
inline constexpr int ID_POPUP_DELETE = 32773;
inline constexpr int ID_POPUP_REFRESH = 32775;

// Forms and dialogs.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MIDI_DEVICE = 130;
inline constexpr int IDD_MIDDLE_FORM = 131;
inline constexpr int IDD_TRANSFER_FORM = 133;

// Controls of the command bar.
inline constexpr int IDC_REFRESH = 1006;
inline constexpr int IDC_COPY_UP = 1007;
inline constexpr int IDC_COPY_DOWN = 1008;
inline constexpr int IDC_CONNECT = 1009;
inline constexpr int IDC_ABOUT_BTN = 1010;
inline constexpr int IDC_HELP_BTN = 1015;

// Controls and commands of the transfer form.
inline constexpr int ID_FETCH = 1011;
inline constexpr int IDC_SEND = 1012;
inline constexpr int IDC_PROGRESS = 1013;

// The hosted browser controls and the lists.
inline constexpr int IDC_SHELL_TREE = 102;
inline constexpr int IDC_LIST = 103;

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
