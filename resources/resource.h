// Resource and control ids of Tolva, grouped by kind.
#pragma once

// Menus
#define IDM_MAIN 101

// Icons and cursors
#define IDI_TOLVA 102
#define IDC_HAND_CURSOR 107

// Dialogs
#define IDD_PROGRESS 103
#define IDD_PASSWORD 104
#define IDD_ABOUT 105
#define IDD_EXTRACT_SETTINGS 108
#define IDD_RESULTS 109

// Controls
#define IDC_VOLUME_LIST 100
#define IDC_RESULTS_LIST 1007
#define IDT_PROGRESS_ARCHIVE 1001
#define IDT_PROGRESS_ENTRY 1002
#define IDE_PASSWORD 1000
#define IDC_PASSWORD_LIST 1009

// Main menu commands
#define IDM_FILE_EXIT 40002
#define IDM_EDIT_DELETE 40003
#define IDM_FILE_EXTRACT 40006
#define IDM_HELP_ABOUT 40007
#define IDM_SETTINGS_EXTRACT 40008
#define IDM_SETTINGS_FONT 40009
#define IDM_EDIT_DELETE_ALL 40010
