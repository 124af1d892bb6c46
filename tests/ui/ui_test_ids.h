#pragma once
// Ids of the test program's own dialog and strings.

#define IDD_UI_TEST 300
#define IDC_UI_LIST 1001
#define IDC_UI_COMBO 1002
#define IDC_UI_LISTVIEW 1003
#define IDC_UI_TABS 1004
#define IDC_UI_TREE 1005
#define IDC_UI_EDIT 1006
#define IDC_UI_BUTTON 1007
#define IDC_UI_ICONVIEW 1008

// Items with data parts (ui_test.rc); 9105 is missing.
#define IDS_UI_ITEMS 9100
#define IDS_UI_COLUMNS 9110
#define IDS_UI_LONG_ITEM 9120  // 300 characters, data 7
