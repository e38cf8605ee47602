#pragma once
// Resource and control identifiers of Melodeck.exe. Shared by the .rc script and the code.

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_MELODECK_DIALOG 102
#define IDD_PLAYLIST 164
#define IDD_PROPERTIES 166
#define IDD_COMPACT 167
#define IDD_FIND 168
#define IDD_LYRICS 171

// Menus, accelerators, icon, strings
#define IDR_MAINFRAME 161
#define IDR_MAINMENU 162
#define IDR_LISTMENU 165
#define IDR_ACCELERATOR 169
#define IDR_TRAYMENU 170
#define IDR_PLAYBACK_KEYS 172
#define IDS_ABOUTBOX 101

// Skin bitmaps (24-bit, 21 pixels high)
#define IDB_ARROW_NORMAL 129    // 21 wide: common scroll arrow / trackbar thumb
#define IDB_ARROW_DISABLED 130  // 21 wide
#define IDB_ARROW_HOT 131       // 21 wide
#define IDB_LEFT_HOT 132        // 10 wide: push button left cap
#define IDB_MIDDLE_HOT 133      //  3 wide: push button middle
#define IDB_RIGHT_HOT 134       // 10 wide: push button right cap
#define IDB_RIGHT_NORMAL 135    // 10 wide
#define IDB_MIDDLE_NORMAL 136   //  3 wide
#define IDB_LEFT_NORMAL 137     // 10 wide
#define IDB_RIGHT_DISABLED 138  // 10 wide
#define IDB_MIDDLE_DISABLED 139 //  3 wide
#define IDB_LEFT_DISABLED 140   // 10 wide
#define IDB_JOINR_HOT 141       //  6 wide: right side joined to a neighbour
#define IDB_JOINR_NORMAL 142    //  6 wide
#define IDB_JOINL_DISABLED 143  //  6 wide: left side joined to a neighbour
#define IDB_JOINR_DISABLED 144  //  6 wide
#define IDB_JOINL_HOT 145       //  6 wide
#define IDB_JOINL_NORMAL 146    //  6 wide
#define IDB_SQ_UP_HOT 147       // 21 wide: squeezed scroll arrows
#define IDB_SQ_LEFT_NORMAL 148
#define IDB_SQ_RIGHT_NORMAL 149
#define IDB_SQ_UP_NORMAL 150
#define IDB_SQ_DOWN_DISABLED 151
#define IDB_SQ_LEFT_DISABLED 152
#define IDB_SQ_RIGHT_DISABLED 153
#define IDB_SQ_UP_DISABLED 154
#define IDB_SQ_DOWN_HOT 155
#define IDB_SQ_LEFT_HOT 156
#define IDB_SQ_RIGHT_HOT 157
#define IDB_SQ_DOWN_NORMAL 158

// Controls
#define IDC_LIST 1002
#define IDC_PLAY 1003
#define IDC_STOP 1004
#define IDC_PREVIOUS 1005
#define IDC_NEXT 1006
#define IDC_PAUSE 1007
#define IDC_BANNER 1009
#define IDC_PLAYER 1010 // the playback device window, made at start-up (not in the template)
#define IDC_ARTIST 1011
#define IDC_ALBUM 1012
#define IDC_SONG 1013
#define IDC_PATH 1014
#define IDC_VOLUME 1015
#define IDC_FINDTEXT 1016
#define IDC_FINDBY 1017
#define IDC_FIND_ARTIST 1018
#define IDC_FIND_ALBUM 1019
#define IDC_FIND_SONG 1020
#define IDC_FIND_FILENAME 1021
#define IDC_LYRICS 1022

// System menu
#define IDM_ABOUTBOX 0x0010

// Commands
#define ID_LOAD_DIRECTORY_TRAY 32772
#define ID_LOAD_PLAYLIST_TRAY 32773
#define ID_FILE_EXIT 32774
#define ID_OPTIONS_COMPACT 32775
#define ID_OPTIONS_TRAY 32776
#define ID_OPTIONS_ONTOP 32777
#define ID_CREATE_XML 32778
#define ID_CREATE_PLAYLIST 32779
#define ID_VIEW_QUEUE 32781
#define ID_ADD_DIRECTORY_TRAY 32782
#define ID_LIST_ADDTOQUEUE 32783
#define ID_LIST_REMOVE 32784
#define ID_LIST_PROPERTIES 32785
#define ID_OPTIONS_FONT 32786
#define ID_LIST_ADDDIRECTORY 32787
#define ID_LIST_LOADDIRECTORY 32788
#define ID_OPTIONS_RANDOM 32789
#define ID_VIEW_PLAYLIST 32790
#define ID_LIST_REMOVEALL 32791
#define ID_LIST_LOADPLAYLIST 32792
#define ID_LIST_FIND 32793
#define ID_LIST_ADDPLAYLIST 32794
#define ID_ADD_PLAYLIST_TRAY 32795
#define ID_TRAY_PLAY 32799
#define ID_TRAY_PAUSE 32800
#define ID_TRAY_STOP 32801
#define ID_TRAY_NEXT 32802
#define ID_TRAY_PREVIOUS 32803
#define ID_TRAY_EXIT 32804
#define ID_LIST_LYRICS 32809
// Playback from the keyboard and the options of the media keys and of resuming
#define ID_PLAYBACK_PLAYPAUSE 32850
#define ID_PLAYBACK_FORWARD 32851
#define ID_PLAYBACK_BACK 32852
#define ID_PLAYBACK_VOLUMEUP 32853
#define ID_PLAYBACK_VOLUMEDOWN 32854
#define ID_OPTIONS_MEDIAKEYS 32855
#define ID_OPTIONS_RESUME 32856
