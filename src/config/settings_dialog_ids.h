// Resource and control ids of the Zephtab Settings dialog, shared by its
// code, its resource script and the test that drives it.
#pragma once

#define IDD_SETTINGS 100
#define IDI_SETTINGS 101

#define IDC_SHOW_PROCESS_INFO 1001
#define IDC_LIVE_PREVIEW 1002
#define IDC_STAY_OPEN 1003
#define IDC_SELECT_SECOND 1004
#define IDC_SMALL_ICONS 1005
#define IDC_ANIMATION 1006
#define IDC_SHOW_TOOLBAR 1007
#define IDC_TYPE_TO_FILTER 1008
#define IDC_SAME_PROGRAM_KEY 1009
#define IDC_TRAY_ICON 1013
#define IDC_START_AT_LOG_ON 1014

#define IDC_OPACITY_LABEL 1010
#define IDC_OPACITY 1011
#define IDC_OPACITY_VALUE 1012

// The nine placements, row by row from the upper left (cells of the 3 x 3 grid).
#define IDC_PLACEMENT_GROUP 1019
#define IDC_PLACEMENT_FIRST 1020
#define IDC_PLACEMENT_LAST 1028

#define IDC_OPEN_ON_LABEL 1032
#define IDC_OPEN_ON 1033
#define IDC_LIST_WINDOWS_LABEL 1034
#define IDC_LIST_WINDOWS 1035
#define IDC_ORDER_LABEL 1036
#define IDC_ORDER 1037

#define IDC_RUNNING_STATE 1030
#define IDC_APPLY_RESULT 1031

#define IDC_DEFAULTS 1040
#define IDC_APPLY 1041

// The dialog of the two program lists, opened from the settings dialog.
#define IDC_PROGRAM_LISTS 1050
#define IDD_PROGRAM_LISTS 110
#define IDC_EXCLUDE_LIST 1101
#define IDC_EXCLUDE_REMOVE 1102
#define IDC_PASS_THROUGH_LIST 1103
#define IDC_PASS_THROUGH_REMOVE 1104
#define IDC_PATTERN 1105
#define IDC_ADD_EXCLUDE 1106
#define IDC_ADD_PASS_THROUGH 1107
