// The system's file dialogs opened by the library and driven from a helper thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/dialog_driver.h"
#include "support/eventually.h"
#include "support/temp_dir.h"
#include "support/window_screenshot.h"
#include "tambre32/settings.h"
#include "tambre32/ui.h"

namespace {

class FileChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"werte.txt", "werte.csv", "anlage.txt"}) std::ofstream(dir_.file(name)) << "x";
    CreateDirectoryA(dir_.file("Daten").c_str(), nullptr);
  }
  std::string folder() const { return dir_.path().string(); }
  tambre::test::temp_dir dir_;
};

// The dialog's file types, the selected one and its folder are read before it is cancelled
// (pressing OK from a helper thread does not end Wine's dialog).
TEST_F(FileChooser, ExportDescriptionOpenedChosenAndRemembered) {
  WriteUsrIniInt("Tambre", "FilterIndex404", 0);
  char file[MAX_PATH] = "";
  int chosen = -1;
  {
    tambre::test::dialog_driver driver("Export-Dateiauswahl", [this](HWND dialog) {
      HWND types = GetDlgItem(dialog, cmb1);
      std::vector<std::string> filters;
      char text[MAX_PATH * 2] = "";
      for (LRESULT i = 0, n = SendMessageA(types, CB_GETCOUNT, 0, 0); i < n; ++i) {
        SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        filters.emplace_back(text);
      }
      EXPECT_EQ(filters, (std::vector<std::string>{"Textdateien (*.txt)", "CSV-Dateien (*.csv)", "Alle (*.*)"}));
      EXPECT_EQ(SendMessageA(types, CB_GETCURSEL, 0, 0), 0);
      SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof text, reinterpret_cast<LPARAM>(text));
      EXPECT_EQ(std::string(text), folder());
      // The picture of the README: wait until the folder's files are listed.
      HWND view =
          FindWindowExA(FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr), nullptr, "SysListView32", nullptr);
      tambre::test::eventually([view] { return view == nullptr || ListView_GetItemCount(view) >= 2; }, 3000);
      EXPECT_TRUE(tambre::test::save_window_png(
          dialog, tambre::test::source_tree_path(TAMBRE_SOURCE_DIR, "docs/images/file_chooser_export.png")));
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    });
    chosen = ChooseFileName(nullptr, file, sizeof file, TAMBRE_CHOOSE_OPEN, 404, folder().c_str());
  }
  EXPECT_EQ(chosen, 0);
  EXPECT_EQ(GetUsrIniInt("Tambre", "FilterIndex404", -99), 1)
      << "the filter the dialog ended with, 1-based, also on cancel";
}

}  // namespace
