// Resource identifiers of the utility.
#pragma once

// Dialog templates
#define IDD_MAIN            102
#define IDD_LINK_INFO       129
#define IDD_CONFIGURATION   130
#define IDD_ENCRYPTION      131
#define IDD_SITE_SURVEY     132
#define IDD_ABOUT           133
#define IDD_PROFILE_EDITOR  150
#define IDD_PROFILE         151

// Icons: the window icon and the tray icon sets
#define IDI_MAIN            135
#define IDI_BARS4_YELLOW    136
#define IDI_BARS2_GREEN     137
#define IDI_BARS3_GREEN     138
#define IDI_BARS4_GREEN     139
#define IDI_BARS1_YELLOW    140
#define IDI_BARS2_YELLOW    141
#define IDI_BARS3_YELLOW    142
#define IDI_BARS1_GREEN     143
#define IDI_NO_ADAPTER      144
#define IDI_BARS_EMPTY      145
#define IDI_ZERO_CONFIG     152

// Tray menu
#define IDR_TRAY            146
#define ID_TRAY_OPEN        147
#define ID_TRAY_EXIT        148

// Main window
#define IDC_NAV_LINK_INFO       1009
#define IDC_NAV_CONFIGURATION   1010
#define IDC_NAV_ENCRYPTION      1011
#define IDC_NAV_SITE_SURVEY     1012
#define IDC_NAV_ABOUT           1013
#define IDC_NAV_PROFILE         1014
#define IDC_PAGE_FRAME          1008
