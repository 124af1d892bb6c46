// The system's file dialogs opened by the library and driven from a helper thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/box_catcher.h"
#include "support/temp_dir.h"
#include "support/window_screenshot.h"
#include "tambre32/settings.h"
#include "tambre32/ui.h"

namespace {

struct seen_dialog {
  bool found = false;
  std::vector<std::string> filters;
  int filter = -1;  // selected, 0-based
  std::string folder;
};

// Waits for the file dialog titled `title`, reads it, lets `act` work on it and cancels it
// (pressing OK from a helper thread does not end Wine's dialog).
class dialog_driver {
 public:
  dialog_driver(const char* title, std::function<void(HWND)> act) : thread_([=] { drive(title, act); }) {}
  ~dialog_driver() {
    if (thread_.joinable()) thread_.join();
  }
  seen_dialog wait() {
    thread_.join();
    return seen_;
  }

 private:
  void drive(const char* title, const std::function<void(HWND)>& act) {
    HWND dialog = nullptr;
    for (int i = 0; i < 6000 && !IsWindowVisible(dialog = FindWindowA("#32770", title)); ++i) Sleep(10);
    if (!IsWindowVisible(dialog)) return;
    seen_.found = true;
    char text[MAX_PATH * 2] = "";
    HWND types = GetDlgItem(dialog, cmb1);
    for (LRESULT i = 0, n = SendMessageA(types, CB_GETCOUNT, 0, 0); i < n; ++i) {
      SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      seen_.filters.emplace_back(text);
    }
    seen_.filter = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
    text[0] = '\0';
    SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof text, reinterpret_cast<LPARAM>(text));
    seen_.folder = text;
    act(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
  }

  seen_dialog seen_;
  std::thread thread_;
};

class FileChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"werte.txt", "werte.csv", "anlage.txt"}) std::ofstream(dir_.file(name)) << "x";
    CreateDirectoryA(dir_.file("Daten").c_str(), nullptr);
  }
  std::string folder() const { return dir_.path().string(); }
  tambre::test::temp_dir dir_;
};

TEST_F(FileChooser, ExportDescriptionOpenedChosenAndRemembered) {
  WriteUsrIniInt("Tambre", "FilterIndex404", 0);
  dialog_driver driver("Export-Dateiauswahl", [](HWND dialog) {
    // The picture of the README: wait until the folder's files are listed.
    HWND view =
        FindWindowExA(FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr), nullptr, "SysListView32", nullptr);
    for (int i = 0; i < 300 && view != nullptr && ListView_GetItemCount(view) < 2; ++i) Sleep(10);
    EXPECT_TRUE(tambre::test::save_window_png(
        dialog, tambre::test::source_tree_path(TAMBRE_SOURCE_DIR, "docs/images/file_chooser_export.png")));
  });
  char file[MAX_PATH] = "";
  int chosen = ChooseFileName(nullptr, file, sizeof file, TAMBRE_CHOOSE_OPEN, 404, folder().c_str());
  seen_dialog seen = driver.wait();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.filters, (std::vector<std::string>{"Textdateien (*.txt)", "CSV-Dateien (*.csv)", "Alle (*.*)"}));
  EXPECT_EQ(seen.filter, 0);
  EXPECT_EQ(seen.folder, folder());
  EXPECT_EQ(chosen, 0);
  EXPECT_EQ(GetUsrIniInt("Tambre", "FilterIndex404", -99), 1)
      << "the filter the dialog ended with, 1-based, also on cancel";
}

}  // namespace
