// On-line help under Wine: the classic viewer reached through its seam, and compiled help
// through Wine's HTML Help control.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "services/help_dispatch_win32.h"
#include "services/help_request.h"
#include "support/box_catcher.h"
#include "support/temp_dir.h"
#include "tambre32/services.h"

namespace {

using namespace tambre::services;

const char kHelpFailed[] =
    "Die Online-Hilfedatei '%s' konnte nicht gefunden oder ge\xf6"
    "ffnet  werden oder das Hilfethema %s ist in der Datei nicht vorhanden.";

// What the classic viewer was asked: the calls, the last one as "<file> <command> <data>"
// and the keyword of a keyword request.
int viewer_calls = 0;
HWND viewer_window = nullptr;
std::string viewer_request, viewer_keyword;

BOOL WINAPI recording_viewer(HWND window, LPCSTR file, UINT command, ULONG_PTR data) {
  ++viewer_calls;
  viewer_window = window;
  viewer_request = std::string(file) + " " + std::to_string(command) + " " + std::to_string(data);
  viewer_keyword = command == help_key && data != 0 ? reinterpret_cast<const char*>(data) : "";
  return 7;
}

// The classic viewer is the recorder; compiled help that needs no control runs first,
// before anything loads the HTML Help control.
TEST(ClassicViewer, GetsTheCallersRequestsUnchanged) {
  set_classic_help_viewer(recording_viewer);
  HWND window = CreateWindowExA(0, "STATIC", "Dialog", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(DrvHelpContext(window, "drv.chm", 0xFFFFFFFF), 1);
  EXPECT_EQ(help_dispatch(window, "drv.CHM", 0, help_quit), 1);
  EXPECT_EQ(help_dispatch(window, "drv.chm", 0, 99), 0);
  EXPECT_EQ(help_dispatch(window, nullptr, 0, help_context), 0);
  EXPECT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);
  EXPECT_TRUE(tambre::test::no_box_visible());
  EXPECT_EQ(viewer_calls, 0);

  EXPECT_EQ(DrvHelpContext(window, "drv.hlp", 0xFFFFFFFF), 7);
  EXPECT_EQ(viewer_window, window);
  EXPECT_EQ(viewer_request, "drv.hlp 1 4294967295");
  const char keyword[] = "Messwerte";
  EXPECT_EQ(DrvHelpKey(window, "drv.Chm", keyword), 7);
  EXPECT_EQ(viewer_request, "drv.Chm 257 " + std::to_string(reinterpret_cast<ULONG_PTR>(keyword)));
  EXPECT_EQ(help_dispatch(window, "drv.hlp", 42, 8), 7);
  EXPECT_EQ(viewer_request, "drv.hlp 8 42");
  // The topic keyword from the window's module (the test program carries the library's
  // strings: 211 is the long help message), cut to 59 characters.
  EXPECT_EQ(DrvHelpRcTopic(window, "drv.hlp", 211), 7);
  EXPECT_EQ(viewer_keyword, std::string(kHelpFailed).substr(0, 59));
  EXPECT_EQ(DrvHelpRcTopic(window, "drv.hlp", 59999), 0);
  EXPECT_EQ(viewer_calls, 4);
  set_classic_help_viewer(nullptr);
  DestroyWindow(window);
}

std::string help_failed(const std::string& file, const std::string& topic) {
  char text[512];
  std::snprintf(text, sizeof text, kHelpFailed, file.c_str(), topic.c_str());
  return text;
}

TEST(CompiledHelp, FileTheControlCannotOpenShowsTheMessageOnce) {
  tambre::test::temp_dir dir;
  const struct {
    std::string file;
    UINT command;
    ULONG_PTR data;
    std::string topic;
  } rows[] = {
      {dir.file("missing.chm"), help_context, 5, "#5"},
      {dir.file("missing.chm>main"), help_key, reinterpret_cast<ULONG_PTR>("Messwerte"), "Messwerte"},
  };
  for (const auto& row : rows) {
    tambre::test::box_catcher catcher(IDOK);
    EXPECT_EQ(help_dispatch(nullptr, row.file.c_str(), row.data, row.command), 0);
    const auto box = catcher.wait();
    ASSERT_TRUE(box.found) << row.file;
    EXPECT_EQ(box.text, help_failed("missing.chm", row.topic));
    EXPECT_EQ(box.icon, tambre::test::box_icon::exclamation);
    EXPECT_TRUE(tambre::test::no_box_visible());
  }
  EXPECT_NE(GetModuleHandleA("hhctrl.ocx"), nullptr);
}

}  // namespace
