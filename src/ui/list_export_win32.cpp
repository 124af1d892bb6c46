// Export of a report-style list view to a text or CSV file.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "string_ids.h"
#include "sys/module_instance.h"
#include "tambre32/frame.h"
#include "tambre32/timetext.h"
#include "tambre32/ui.h"
#include "time/local_time.h"
#include "ui/list_text_layout.h"
#include "ui/list_view_reader_win32.h"
#include "ui/resource_string_win32.h"
#include "ui/window_class_win32.h"

namespace {

constexpr int kMaxColumns = 128;
constexpr int kCellChars = 1023;
constexpr short kHeaderTimeFields = TS_SEC | TS_MIN | TS_HOUR | TS_DAY | TS_MONTH | TS_YEAR;

struct file_closer {
  void operator()(FILE* file) const { std::fclose(file); }
};

bool is_report_list(HWND list) {
  return tambre::ui::has_class(list, WC_LISTVIEWA) && (GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

// "Export <title>, <time>" and the separator.
std::string title_line(const char* title, char separator) {
  auto format = tambre::ui::load_resource_string(tambre::sys::module_instance(), IDS_EXPORT_HEADER, 255);
  char now[32];
  TimeStr(now, tambre::time::current_time(), 0, kHeaderTimeFields);
  char line[512] = "";
  std::snprintf(line, sizeof line, format ? format->c_str() : "%s, %s", title != nullptr ? title : "", now);
  return std::string(line) + separator;
}

// Ctrl+Break held down stops the export after the current row.
bool break_requested() { return GetAsyncKeyState(VK_CANCEL) < 0; }

// Writes the title, the header and the rows: a first pass measures the columns, the
// second writes. A break ends the file after the row it came in.
void write_table(HWND list, FILE* out, const char* title, char separator) {
  using tambre::ui::text_row;
  std::fprintf(out, "%s\n\n", title_line(title, separator).c_str());
  const int columns = std::min(tambre::ui::list_view_columns(list), kMaxColumns);
  const int rows = tambre::ui::list_view_rows(list);
  text_row header = tambre::ui::list_view_header(list, columns, kCellChars);
  std::vector<size_t> widths;
  tambre::ui::widen_columns(widths, header);
  for (int r = 0; r < rows; ++r)
    tambre::ui::widen_columns(widths, tambre::ui::list_view_row(list, r, columns, kCellChars));
  std::fprintf(out, "%s\n", tambre::ui::export_line(header, widths, separator).c_str());
  for (int r = 0; r < rows; ++r) {
    text_row cells = tambre::ui::list_view_row(list, r, columns, kCellChars);
    std::fprintf(out, "%s\n", tambre::ui::export_line(cells, widths, separator).c_str());
    if (break_requested()) break;
  }
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) ExportListView(HWND list, const char* file, const char* title) {
  if (!is_report_list(list)) {
    MessageBeep(MB_OK);
    return 0;
  }
  char chosen[MAX_PATH + 1] = "";
  if (file == nullptr) {
    if (!ChooseFileName(GetParent(list), chosen, sizeof chosen, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                        IDS_CHOOSE_EXPORT_FILE, nullptr))
      return 0;
    file = chosen;
  }
  const char separator = tambre::ui::export_separator(file);
  // Text mode: every line ends in CR LF on disk.
  std::unique_ptr<FILE, file_closer> out(std::fopen(file, "wt"));
  if (!out) {
    MessageFMTBox(nullptr, IDS_FILE_OPEN_FAILED, MB_OK | MB_ICONSTOP, file);
    return 0;
  }
  WaitCursor();
  write_table(list, out.get(), title, separator);
  RestoreCursor();
  bool failed = std::fflush(out.get()) != 0 || std::ferror(out.get()) != 0;
  failed = std::fclose(out.release()) != 0 || failed;
  if (failed) {
    MessageFMTBox(nullptr, IDS_EXPORT_WRITE_FAILED, MB_OK | MB_ICONSTOP, file);
    return 0;
  }
  return 1;
}
