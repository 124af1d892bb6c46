// The library's helpers on the test dialog's real controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/box_catcher.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "support/window_screenshot.h"
#include "tambre32/timetext.h"
#include "tambre32/ui.h"
#include "ui/test_dialog.h"

namespace {

using tambre::test::list_item_text;
using tambre::test::test_dialog;

HINSTANCE self() { return GetModuleHandleA(nullptr); }

// Columns "Wert" and "Name" with the rows ("1", "Pumpe 1") and ("100", "").
void fill_table(HWND list) {
  const char* cells[3][2] = {{"Wert", "Name"}, {"1", "Pumpe 1"}, {"100", ""}};
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<char*>(cells[0][c]);
    ListView_InsertColumn(list, c, &column);
  }
  for (int r = 0; r < 2; ++r) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    item.pszText = const_cast<char*>(cells[r + 1][0]);
    ListView_InsertItem(list, &item);
    ListView_SetItemText(list, r, 1, const_cast<char*>(cells[r + 1][1]));
  }
}

std::string clipboard_text() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<not open>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) text = bytes;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST(ListFill, TextsDataAndSelectionFromStringTables) {
  test_dialog dialog;
  const std::vector<std::string> texts = {"St\xFCndlich", "T\xE4glich", "Monatlich", "J\xE4hrlich",
                                          "Viertelst\xFCndlich"};
  const LRESULT data[] = {2, 0x1F, static_cast<LRESULT>(0xFFFFFFFFu), 0, 40};
  for (int id : {IDC_UI_LIST, IDC_UI_COMBO}) {
    const bool combo = id == IDC_UI_COMBO;
    HWND control = dialog.item(id);
    ASSERT_EQ(InitListInt(dialog.handle(), id, -2, 2, 1), 1);
    EXPECT_EQ(list_item_text(control, 4, combo), "2");
    EXPECT_EQ(SendMessageA(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0), 3);
    // The selection is the item whose data part matches; items without data never match.
    using row = std::pair<DWORD, int>;
    for (const auto& [selection, selected] : {row{0x8000001Fu, 1}, row{3u, 3}, row{0x80000000u, -1}}) {
      ASSERT_EQ(InitListStr(dialog.handle(), id, self(), IDS_UI_ITEMS, 5, selection), 1);
      EXPECT_EQ(SendMessageA(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0), selected) << id << " " << selection;
    }
    ASSERT_EQ(SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0), 5) << "reset first";
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(list_item_text(control, i, combo), texts[i]);
      EXPECT_EQ(SendMessageA(control, combo ? CB_GETITEMDATA : LB_GETITEMDATA, i, 0), data[i]) << i;
    }
  }
  EXPECT_EQ(InitListInt(dialog.handle(), IDC_UI_EDIT, 1, 3, 1), 0);
  EXPECT_EQ(InitListStr(dialog.handle(), IDC_UI_LIST, self(), IDS_UI_ITEMS, 6, 0), 0) << "the sixth is missing";
  ASSERT_EQ(InitListStr(dialog.handle(), IDC_UI_LIST, self(), IDS_UI_LONG_ITEM, 1, 0), 1);
  EXPECT_EQ(SendMessageA(dialog.item(IDC_UI_LIST), LB_GETTEXTLEN, 0, 0), 255) << "cut before the data part";

  ASSERT_EQ(InitTabStr(dialog.handle(), IDC_UI_TABS, self(), IDS_UI_ITEMS, 3, 2), 1);
  EXPECT_EQ(SendMessageA(dialog.item(IDC_UI_TABS), TCM_GETCURSEL, 0, 0), 2);
}

TEST(SortImages, ColumnsFromTheStringTableMarkedOnePerDirection) {
  test_dialog dialog(true);
  HWND list = dialog.item(IDC_UI_LISTVIEW);
  ASSERT_EQ(InitHeaderStr(dialog.handle(), IDC_UI_LISTVIEW, self(), IDS_UI_COLUMNS, 4), 1);
  HWND header = ListView_GetHeader(list);
  const struct {
    int column, direction;
    int images[4];
  } rows[] = {{2, -1, {0, 0, 2, 0}}, {0, 2, {3, 0, 0, 0}}, {3, -2, {0, 0, 0, 4}}, {1, 1, {0, 1, 0, 0}}, {7, 1, {}}};
  const int widths[4] = {60, 80, 80, 90};  // the columns of the string table, their alignment kept
  for (const auto& r : rows) {
    ASSERT_EQ(LVSetSortImage(list, r.column, r.direction), 1);
    for (int i = 0; i < 4; ++i) {
      HDITEMA item{};
      item.mask = HDI_FORMAT | HDI_IMAGE | HDI_WIDTH;
      ASSERT_TRUE(Header_GetItem(header, i, &item));
      EXPECT_EQ(item.iImage, r.images[i]) << "column " << r.column << " direction " << r.direction << " item " << i;
      EXPECT_EQ(item.fmt & (HDF_IMAGE | HDF_BITMAP_ON_RIGHT), HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
      EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, i == 2 ? HDF_CENTER : i == 1 ? HDF_RIGHT : HDF_LEFT) << i;
      EXPECT_EQ(item.cxy, widths[i]) << i;
    }
  }
  EXPECT_EQ(LVSetSortImage(nullptr, 0, 1), 0);

  // The picture of the README: a channel table sorted down by its second column.
  while (ListView_DeleteColumn(list, 0)) {
  }
  fill_table(list);
  LVSetSortImage(list, 1, -1);
  EXPECT_TRUE(tambre::test::save_window_png(
      dialog.handle(), tambre::test::source_tree_path(TAMBRE_SOURCE_DIR, "docs/images/list_view_sort_arrows.png")));
}

TEST(Clipboard, TextOfEachControlKind) {
  test_dialog dialog;
  HWND tree = dialog.item(IDC_UI_TREE);
  auto add = [tree](HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return TreeView_InsertItem(tree, &insert);
  };
  EXPECT_EQ(List_CopyToClipboard(tree), 0) << "an empty tree";
  HTREEITEM root = add(TVI_ROOT, "Anlage");
  add(add(root, "Pumpe"), "Drehzahl");
  add(TVI_ROOT, "Zweite");
  InitListStr(dialog.handle(), IDC_UI_COMBO, self(), IDS_UI_ITEMS, 2, 0);
  fill_table(dialog.item(IDC_UI_LISTVIEW));
  const struct {
    int id;
    const char* text;
  } rows[] = {
      {IDC_UI_COMBO, "St\xFCndlich\r\nT\xE4glich\r\n"},
      {IDC_UI_LISTVIEW, "Wert\tName\t\r\n1\tPumpe 1\t\r\n100\t\t\r\n"},
      {IDC_UI_TREE, "Anlage\r\n\tPumpe\r\n\t\tDrehzahl\r\nZweite\r\n"},
  };
  for (const auto& r : rows) {
    ASSERT_EQ(List_CopyToClipboard(dialog.item(r.id)), 1) << r.id;
    EXPECT_EQ(clipboard_text(), r.text) << r.id;
  }
  EXPECT_EQ(List_CopyToClipboard(dialog.item(IDC_UI_EDIT)), 0);
}

TEST(Export, PaddedLinesOrTheFailureMessage) {
  test_dialog dialog;
  HWND list = dialog.item(IDC_UI_LISTVIEW);
  fill_table(list);
  tambre::test::temp_dir dir;
  const std::string path = dir.file("werte.CSV");
  char stamp[2][32];
  TimeStr(stamp[0], _time(nullptr), 0, 126);
  ASSERT_EQ(ExportListView(list, path.c_str(), "Kessel 1"), 1);
  TimeStr(stamp[1], _time(nullptr), 0, 126);
  const std::string table = "Wert;Name   ;\r\n1   ;Pumpe 1;\r\n100 ;       ;\r\n";
  const std::string content = tambre::test::file_contents(path);
  EXPECT_TRUE(content == "Export Kessel 1, " + std::string(stamp[0]) + ";\r\n\r\n" + table ||
              content == "Export Kessel 1, " + std::string(stamp[1]) + ";\r\n\r\n" + table)
      << content;
  EXPECT_EQ(ExportListView(dialog.item(IDC_UI_ICONVIEW), path.c_str(), nullptr), 0) << "not in report style";

  tambre::test::box_catcher catcher(IDOK);
  EXPECT_EQ(ExportListView(list, "Z:\\dev\\full", "x"), 0);
  const tambre::test::caught_box box = catcher.wait();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "Fehler beim Exportieren der Daten in die Datei 'Z:\\dev\\full'.");
  EXPECT_EQ(box.icon, tambre::test::box_icon::hand);
}

TEST(DialogItems, EnableLimitAndTextFromStringTable) {
  test_dialog dialog;
  HWND edit = dialog.item(IDC_UI_EDIT), button = dialog.item(IDC_UI_BUTTON), list = dialog.item(IDC_UI_LIST);
  // Ids are 16-bit: the high half of the second one is ignored; the list comes after the ending 0.
  EnableDlgItems(dialog.handle(), FALSE, IDC_UI_EDIT, 0x10000 | IDC_UI_BUTTON, 4711, 0, IDC_UI_LIST);
  EXPECT_FALSE(IsWindowEnabled(edit) || IsWindowEnabled(button));
  EXPECT_TRUE(IsWindowEnabled(list));
  HWND combo_edit = FindWindowExA(dialog.item(IDC_UI_COMBO), nullptr, "Edit", nullptr);
  // The list box is no edit or combo box: skipped, not counted; a length 0 ends the pairs.
  EXPECT_EQ(LimitItemText(dialog.handle(), IDC_UI_EDIT, 80, IDC_UI_LIST, 5, IDC_UI_COMBO, 12, 0), 2);
  EXPECT_EQ(LimitItemText(dialog.handle(), IDC_UI_EDIT, 40, IDC_UI_BUTTON, 0, IDC_UI_COMBO, 20, 0), 1);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 40);
  EXPECT_EQ(SendMessageA(combo_edit, EM_GETLIMITTEXT, 0, 0), 12);
  char text[64];
  ASSERT_TRUE(SetDlgItemRcText(dialog.handle(), IDC_UI_EDIT, self(), IDS_UI_ITEMS));
  EXPECT_FALSE(SetDlgItemRcText(dialog.handle(), IDC_UI_EDIT, self(), IDS_UI_ITEMS + 5));
  GetDlgItemTextA(dialog.handle(), IDC_UI_EDIT, text, sizeof text);
  EXPECT_STREQ(text, "St\xFCndlich|2") << "a missing string leaves the text";
}

}  // namespace
