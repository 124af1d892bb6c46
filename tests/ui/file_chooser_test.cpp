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
  std::string title;
  std::vector<std::string> filters;
  int filter = -1;  // selected, 0-based
  std::string folder;
};

BOOL CALLBACK match_file_dialog(HWND window, LPARAM data) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (process != GetCurrentProcessId() || std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(data) = window;
  return FALSE;
}

HWND find_dialog() {
  HWND found = nullptr;
  EnumWindows(match_file_dialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Waits for the next file dialog of this process, reads it, lets `act` work on it and
// cancels it (pressing OK from a helper thread does not end Wine's dialog).
class dialog_driver {
 public:
  explicit dialog_driver(std::function<void(HWND)> act = nullptr) : thread_([=] { drive(act); }) {}
  ~dialog_driver() {
    if (thread_.joinable()) thread_.join();
  }
  seen_dialog wait() {
    thread_.join();
    return seen_;
  }

 private:
  void drive(const std::function<void(HWND)>& act) {
    HWND dialog = nullptr;
    for (int i = 0; i < 6000 && dialog == nullptr; ++i) {
      dialog = find_dialog();
      if (dialog == nullptr) Sleep(10);
    }
    if (dialog == nullptr) return;
    seen_.found = true;
    char text[MAX_PATH * 2] = "";
    GetWindowTextA(dialog, text, sizeof text);
    seen_.title = text;
    HWND types = GetDlgItem(dialog, cmb1);
    for (LRESULT i = 0, n = SendMessageA(types, CB_GETCOUNT, 0, 0); i < n; ++i) {
      SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      seen_.filters.emplace_back(text);
    }
    seen_.filter = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
    text[0] = '\0';
    SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof text, reinterpret_cast<LPARAM>(text));
    seen_.folder = text;
    if (act) act(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
  }

  seen_dialog seen_;
  std::thread thread_;
};

LONG remembered(UINT description) {
  return GetUsrIniInt("Tambre", ("FilterIndex" + std::to_string(description)).c_str(), -99);
}
void remember(UINT description, LONG index) {
  WriteUsrIniInt("Tambre", ("FilterIndex" + std::to_string(description)).c_str(), index);
}

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
  remember(404, 0);
  dialog_driver driver([](HWND dialog) {
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
  EXPECT_EQ(seen.title, "Export-Dateiauswahl");
  EXPECT_EQ(seen.filters, (std::vector<std::string>{"Textdateien (*.txt)", "CSV-Dateien (*.csv)", "Alle (*.*)"}));
  EXPECT_EQ(seen.filter, 0);
  EXPECT_EQ(seen.folder, folder());
  EXPECT_EQ(chosen, 0);
  EXPECT_EQ(remembered(404), 1) << "the filter the dialog ended with, 1-based, also on cancel";
}

}  // namespace
