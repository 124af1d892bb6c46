// The platform-free rules of the user-interface helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/dialog_placement.h"
#include "ui/file_chooser_text.h"
#include "ui/item_text.h"
#include "ui/list_text_layout.h"

namespace {

using namespace tambre::ui;

// An item as "text" or "text|data", a column as "name width alignment".
std::string item(const char* entry) {
  const item_text parsed = parse_item_text(entry);
  return parsed.text + (parsed.has_data ? "|" + std::to_string(parsed.data) : "");
}
std::string column(const char* entry) {
  const column_description parsed = parse_column_description(entry);
  return parsed.name + " " + std::to_string(parsed.width) + " " + "lrc"[static_cast<int>(parsed.alignment)];
}

TEST(ItemText, ItemsAndColumnDescriptions) {
  const struct {
    std::string (*read)(const char*);
    const char *entry, *parts;
  } rows[] = {
      {item, "Hex|0x1f", "Hex|31"},
      {item, "Rest|12abc", "Rest|12"},
      {item, "Leer|", "Leer|0"},
      {item, "ohne", "ohne"},
      {item, "a|1|2", "a|1"},
      {item, nullptr, ""},
      {column, "Variable|128", "Variable 128 l"},
      {column, "Wert", "Wert 80 l"},
      {column, "K||Centre", "K 80 c"},
      {column, "|5|R", " 5 r"},
  };
  for (const auto& r : rows) EXPECT_EQ(r.read(r.entry), r.parts) << (r.entry ? r.entry : "null");
}

TEST(ExportLayout, PaddedFieldsEachFollowedBySeparator) {
  std::vector<size_t> widths;
  text_row header = {"Wert", "Name"}, first = {"1", "Pumpe 1"}, second = {"100", ""};
  for (const text_row* row : {&header, &first, &second}) widen_columns(widths, *row);
  EXPECT_EQ(widths, (std::vector<size_t>{4, 7}));
  EXPECT_EQ(export_line(second, widths, ' '), "100 " + std::string(" ") + "       " + " ");
  struct name {
    const char* file;
    char separator;
  } names[] = {{"werte.CSV", ';'}, {"c:\\x\\werte.csv", ';'}, {"werte.txt", ' '},
               {"werte.Csv", ' '}, {"a.csv.bak", ';'},        {nullptr, ' '}};
  for (const name& n : names) EXPECT_EQ(export_separator(n.file), n.separator) << (n.file ? n.file : "null");
}

TEST(ClipboardLayout, RowLimitAndTreeIndent) {
  const auto row = [](const text_row& cells) {
    std::string text;
    append_clipboard_row(text, cells);
    return text;
  };
  EXPECT_EQ(row({"a", "", "b"}), "a\t\tb\t\r\n");
  // 1020 characters and a tab fit; a further "xy" and its tab would pass 1023.
  EXPECT_EQ(row({std::string(1020, 'x'), "xy", "z"}), std::string(1020, 'x') + "\t\r\n");
  EXPECT_EQ(row({std::string(1020, 'x'), "z"}), std::string(1020, 'x') + "\tz\t\r\n") << "exactly 1023 fit";
  std::string text;
  append_clipboard_tree_item(text, 0, "Wurzel");
  append_clipboard_tree_item(text, 1, "Kind");
  append_clipboard_tree_item(text, 25, "tief");
  EXPECT_EQ(text, "Wurzel\r\n\tKind\r\n" + std::string(19, '\t') + "tief\r\n");
}

TEST(FileDialogText, DescriptionsFiltersAndDirectories) {
  file_dialog_description d = split_file_dialog_description("Bibliothek,Dll (*.dll)|*.dll|Alle (*.*)|*.*|,dll");
  EXPECT_EQ(d.title, "Bibliothek");
  EXPECT_EQ(d.filter, "Dll (*.dll)|*.dll|Alle (*.*)|*.*|");
  EXPECT_EQ(d.default_ext, "dll");
  d = split_file_dialog_description("Druck,PS|*.ps|");
  EXPECT_EQ(d.filter, "PS|*.ps|");
  EXPECT_EQ(d.default_ext, "");
  d = split_file_dialog_description("a,b,c,d");
  EXPECT_EQ(d.default_ext, "c,d");

  char filter[] = "Alle (*.*)|*.*||";
  EXPECT_EQ(replace_filter_bars(filter), 3);
  EXPECT_EQ(std::memcmp(filter, "Alle (*.*)\0*.*\0\0", sizeof filter), 0);
  EXPECT_EQ(replace_filter_bars(nullptr), 0);

  struct dir {
    const char *proposal, *given, *host, *expected;
  } dirs[] = {
      {"C:\\Daten\\export.txt", "D:\\x", "E:\\h", "C:\\Daten"},
      {"C:\\export.txt", nullptr, nullptr, "C:"},
      {"export.txt", "D:\\x", nullptr, ""},
      {"", "D:\\x\\", "E:\\h", "D:\\x"},
      {"", "", "E:\\h\\", "E:\\h"},  // an empty directory is none
      {nullptr, nullptr, nullptr, ""},
  };
  for (const dir& t : dirs) EXPECT_EQ(start_directory(t.proposal, t.given, t.host), t.expected) << t.expected;

  struct index {
    long remembered;
    unsigned pairs, expected;
  } indexes[] = {{5, 3, 3}, {0, 3, 1}, {-4, 3, 1}, {2, 3, 2}, {1, 0, 0}};
  for (const index& i : indexes) EXPECT_EQ(initial_filter_index(i.remembered, i.pairs), i.expected) << i.remembered;
}

TEST(SizeableDialog, ClampedToWorkArea) {
  const area work{0, 30, 1024, 738};  // 1024 x 708 below a top bar
  struct row {
    long left, top;
    extent wanted;
    bool sizing;
    dialog_placement expected;
  } rows[] = {
      {100, 100, {400, 300}, true, {true, 100, 100, 410, 330}},
      {900, 600, {400, 300}, true, {true, 614, 378, 410, 330}},  // pushed back inside
      {-50, 0, {400, 300}, true, {true, 0, 30, 410, 330}},       // raised to the origin
      {100, 100, {0, 300}, true, {false}},
      {100, 100, {400, 300}, false, {false}},
      {100, 100, {1025, 300}, true, {false}},
      {100, 100, {400, 709}, true, {false}},
  };
  for (const row& r : rows) {
    dialog_placement p = place_sizeable_dialog(r.left, r.top, {210, 230}, {200, 200}, r.wanted, work, r.sizing);
    EXPECT_EQ(p.move, r.expected.move) << r.left;
    if (!p.move) continue;
    EXPECT_EQ(p.left, r.expected.left);
    EXPECT_EQ(p.top, r.expected.top);
    EXPECT_EQ(p.width, r.expected.width);
    EXPECT_EQ(p.height, r.expected.height);
  }
}

}  // namespace
