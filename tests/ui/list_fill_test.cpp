// List boxes, combo boxes, tabs and list-view headers filled from string tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tambre32/ui.h"
#include "ui/test_dialog.h"

namespace {

using tambre::test::list_item_text;
using tambre::test::test_dialog;

TEST(ListMessages, KindAndMessagesByClass) {
  test_dialog dialog;
  struct row {
    int id;
    int kind;
    UINT reset, insert, select, set_data;
  } rows[] = {
      {IDC_UI_LIST, 1, 0x184, 0x181, 0x186, 0x19A},
      {IDC_UI_COMBO, 2, 0x14B, 0x14A, 0x14E, 0x151},
      {IDC_UI_LISTVIEW, 0, 7, 7, 7, 7},
      {IDC_UI_EDIT, 0, 7, 7, 7, 7},
  };
  for (const row& r : rows) {
    UINT m[4] = {7, 7, 7, 7};
    EXPECT_EQ(GetListMessages(dialog.item(r.id), &m[0], &m[1], &m[2], &m[3]), r.kind) << r.id;
    EXPECT_EQ(m[0], r.reset);
    EXPECT_EQ(m[1], r.insert);
    EXPECT_EQ(m[2], r.select);
    EXPECT_EQ(m[3], r.set_data);
  }
  EXPECT_EQ(GetListMessages(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(GetListMessages(dialog.item(IDC_UI_LIST), nullptr, nullptr, nullptr, nullptr), 1);
}

TEST(InitListInt, NumbersAndSelectionInBothKinds) {
  test_dialog dialog;
  for (int id : {IDC_UI_LIST, IDC_UI_COMBO}) {
    HWND control = dialog.item(id);
    bool combo = id == IDC_UI_COMBO;
    SendMessageA(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("alt"));
    ASSERT_EQ(InitListInt(dialog.handle(), id, -2, 2, 1), 1);
    ASSERT_EQ(SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0), 5) << "reset first";
    EXPECT_EQ(list_item_text(control, 0, combo), "-2");
    EXPECT_EQ(list_item_text(control, 4, combo), "2");
    EXPECT_EQ(SendMessageA(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0), 3);
  }
  EXPECT_EQ(InitListInt(dialog.handle(), IDC_UI_EDIT, 1, 3, 1), 0);
  EXPECT_EQ(InitListInt(dialog.handle(), 4711, 1, 3, 1), 0);
  EXPECT_EQ(InitListInt(nullptr, IDC_UI_LIST, 1, 3, 1), 0);
}

TEST(InitListStr, TextsDataAndSelection) {
  test_dialog dialog;
  HINSTANCE self = GetModuleHandleA(nullptr);
  const std::vector<std::string> texts = {"St\xFCndlich", "T\xE4glich", "Monatlich", "J\xE4hrlich",
                                          "Viertelst\xFCndlich"};
  const LRESULT data[] = {2, 0x1F, static_cast<LRESULT>(0xFFFFFFFFu), 0, 40};
  struct row {
    DWORD selection;
    int selected;
  } rows[] = {{0x8000001Fu, 1}, {3, 3}, {0x80000000u, -1} /* items without data never match */};
  for (int id : {IDC_UI_LIST, IDC_UI_COMBO}) {
    bool combo = id == IDC_UI_COMBO;
    HWND control = dialog.item(id);
    for (const row& r : rows) {
      SendMessageA(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      ASSERT_EQ(InitListStr(dialog.handle(), id, self, IDS_UI_ITEMS, 5, r.selection), 1);
      EXPECT_EQ(SendMessageA(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0), r.selected)
          << id << " selection " << std::hex << r.selection;
    }
    ASSERT_EQ(SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0), 5);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(list_item_text(control, i, combo), texts[i]);
      EXPECT_EQ(SendMessageA(control, combo ? CB_GETITEMDATA : LB_GETITEMDATA, i, 0), data[i]) << i;
    }
  }
}

TEST(InitListStr, FailuresAndLimits) {
  test_dialog dialog;
  HINSTANCE self = GetModuleHandleA(nullptr);
  HWND list = dialog.item(IDC_UI_LIST);
  // The sixth entry is missing: 0, with the five before it added.
  EXPECT_EQ(InitListStr(dialog.handle(), IDC_UI_LIST, self, IDS_UI_ITEMS, 6, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(InitListStr(dialog.handle(), IDC_UI_TABS, self, IDS_UI_ITEMS, 1, 0), 0);
  EXPECT_EQ(InitListStr(dialog.handle(), 4711, self, IDS_UI_ITEMS, 1, 0), 0);
  // An entry of 300 characters is cut to 255 before its data part is looked for.
  ASSERT_EQ(InitListStr(dialog.handle(), IDC_UI_LIST, self, IDS_UI_LONG_ITEM, 1, 0), 1);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 0, 0), 255);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 0, 0), 0);
}

TEST(InitTabStr, ReplacesTabsAndSelects) {
  test_dialog dialog;
  HWND tabs = dialog.item(IDC_UI_TABS);
  HINSTANCE self = GetModuleHandleA(nullptr);
  ASSERT_EQ(InitTabStr(dialog.handle(), IDC_UI_TABS, self, IDS_UI_ITEMS, 2, 0), 1);
  ASSERT_EQ(InitTabStr(dialog.handle(), IDC_UI_TABS, self, IDS_UI_ITEMS, 3, 2), 1);
  ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);
  char text[300] = "";
  TCITEMA tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = text;
  tab.cchTextMax = sizeof text;
  SendMessageA(tabs, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&tab));
  EXPECT_STREQ(text, "T\xE4glich|0x1F") << "a tab shows the whole entry";
  EXPECT_EQ(InitTabStr(dialog.handle(), IDC_UI_TABS, self, IDS_UI_ITEMS, 6, 0), 0);
  EXPECT_EQ(InitTabStr(dialog.handle(), IDC_UI_LIST, self, IDS_UI_ITEMS, 1, 0), 0);
}

TEST(InitHeaderStr, ColumnsFromDescriptions) {
  test_dialog dialog;
  HWND list = dialog.item(IDC_UI_LISTVIEW);
  struct column {
    const char* text;
    int width;
    int format;
  };
  auto check = [&](HINSTANCE module, UINT first, const std::vector<column>& expected) {
    ASSERT_EQ(InitHeaderStr(dialog.handle(), IDC_UI_LISTVIEW, module, first, static_cast<int>(expected.size())), 1);
    for (size_t i = 0; i < expected.size(); ++i) {
      char text[100] = "";
      LVCOLUMNA c{};
      c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
      c.pszText = text;
      c.cchTextMax = sizeof text;
      ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&c))) << i;
      EXPECT_STREQ(text, expected[i].text);
      EXPECT_EQ(c.cx, expected[i].width) << text;
      EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, expected[i].format) << text;
    }
  };
  check(GetModuleHandleA(nullptr), IDS_UI_COLUMNS,
        {{"Kanal", 60, LVCFMT_RIGHT},
         {"Name", 80, LVCFMT_LEFT},
         {"Einheit", 80, LVCFMT_CENTER},
         {"Zustand", 90, LVCFMT_LEFT}});
  EXPECT_EQ(InitHeaderStr(dialog.handle(), IDC_UI_LIST, nullptr, 130, 1), 0);
  EXPECT_EQ(InitHeaderStr(dialog.handle(), 4711, nullptr, 130, 1), 0);
}

}  // namespace
