// The system's serial port list and the setup dialog, shown for real and worked from a
// helper thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "sio/serial_device_map.h"
#include "support/combo_box.h"
#include "support/dialog_driver.h"
#include "support/dialog_screenshot.h"
#include "support/eventually.h"
#include "tambre32/sio.h"

namespace {

using namespace tambre::test;
using sio_test::serial_device_map;
using tambre::test::choose;
using tambre::test::list_texts;
using tambre::test::selection;

constexpr char kTitle[] = "Serielle Schnittstelle einrichten";
constexpr int kPort = 1000, kBaud = 1001, kParity = 1002, kDataBits = 1003, kStopBits = 1004, kProtocol = 1005;
constexpr int kInputLabel = 1006, kOutputLabel = 1007, kCts = 1009, kRts = 1010, kDsr = 1011, kDtr = 1012;
constexpr int kLineOptions[] = {kInputLabel, kOutputLabel, kCts, kRts, kDsr, kDtr};

std::vector<int> marked_ports() {
  unsigned char ports[256];
  std::memset(ports, 0xAA, sizeof ports);
  EXPECT_EQ(EnumCOMPorts(ports), TRUE);
  std::vector<int> marked;
  for (int n = 0; n < 256; ++n) {
    if (ports[n] == 0xFF)
      marked.push_back(n);
    else
      EXPECT_EQ(ports[n], 0) << n;
  }
  return marked;
}

void set_check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

// Presses OK (posted: the box runs inside the dialog's handling of it) and expects the
// refusal box, answered, with the dialog still open.
void expect_refused(HWND dialog, const std::string& why) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  HWND box = nullptr;
  ASSERT_TRUE(tambre::test::eventually([&] { return IsWindowVisible(box = FindWindowA("#32770", "Treiber")); })) << why;
  char text[256] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text, "Die Einstellungen sind ung\xfcltig. Bitte w\xe4hlen Sie g\xfcltige Einstellungen aus.") << why;
  EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << why;
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  tambre::test::eventually([&] { return !IsWindow(box); });
  EXPECT_TRUE(still_open(dialog)) << why;
}

TEST(EnumCOMPorts, MarksTheStringValuesThatNameAPort) {
  serial_device_map map;
  map.remove();
  unsigned char ports[256];
  std::memset(ports, 0xAA, sizeof ports);
  EXPECT_EQ(EnumCOMPorts(ports), FALSE) << "no device map";
  for (unsigned char b : ports) ASSERT_EQ(b, 0);
  EXPECT_EQ(EnumCOMPorts(nullptr), FALSE);
  // The dialog then lists nothing and refuses OK.
  char config[64] = "";
  {
    dialog_driver driver(kTitle, [](HWND dialog) {
      EXPECT_TRUE(list_texts(dialog, kPort).empty());
      expect_refused(dialog, "no ports");
      click(dialog, IDCANCEL);
    });
    EXPECT_EQ(CSio().SetupDialog(nullptr, config, 0), 2);
  }
  EXPECT_STREQ(config, "");
  map.set_text("\\Device\\Serial0", "COM1");
  for (const char* text : {"COM0", "COM255", "COM256", "com3", "COM12x", "LPT2"}) map.set_text(text, text);
  map.set("number", REG_DWORD, std::string("\x04\0\0\0", 4));
  map.set("bytes", REG_BINARY, "COM4");
  map.set("expandable", REG_EXPAND_SZ, std::string("COM5", 5));
  map.set("multi", REG_MULTI_SZ, std::string("COM6\0\0", 6));
  EXPECT_EQ(marked_ports(), (std::vector<int>{1, 12, 255}));
}

TEST(SioSetupDialog, ShowsTheStringAndCancelKeepsTheBuffer) {
  serial_device_map map;
  map.only_ports({12, 3, 1});
  char config[64] = "com3:19200,e,7,2,DTR,RTS";
  CSio port;
  {
    dialog_driver driver(kTitle, [](HWND dialog) {
      EXPECT_EQ(list_texts(dialog, kPort), (std::vector<std::string>{"COM1", "COM3", "COM12"}));
      EXPECT_EQ(field_text(dialog, kBaud), "19200");
      std::vector<int> shown;
      for (int id : {kPort, kParity, kDataBits, kStopBits, kProtocol}) shown.push_back(selection(dialog, id));
      for (int id : {kDtr, kRts, kDsr, kCts}) shown.push_back(checked(dialog, id));
      EXPECT_EQ(shown, (std::vector<int>{1, 1, 2, 2, 3, 1, 1, 0, 0}));
      for (int id : kLineOptions) EXPECT_TRUE(enabled(dialog, id)) << id;
      choose(dialog, kProtocol, 1);
      for (int id : kLineOptions) EXPECT_FALSE(enabled(dialog, id)) << id;
      choose(dialog, kProtocol, 3);
      for (int id : kLineOptions) EXPECT_TRUE(enabled(dialog, id)) << id;
      choose(dialog, kPort, 0);
      EXPECT_TRUE(tambre::test::save_screenshot(dialog, "sio_setup_dialog"));
      click(dialog, IDCANCEL);
    });
    EXPECT_EQ(port.SetupDialog(nullptr, config, 0), 2);
  }
  EXPECT_STREQ(config, "com3:19200,e,7,2,DTR,RTS");
}

TEST(SioSetupDialog, RefusesInvalidInputThenComposesTheString) {
  serial_device_map map;
  map.only_ports({1, 3, 255});
  char config[64] = "COM3:9600,N,8,1";
  {
    dialog_driver driver(kTitle, [](HWND dialog) {
      for (const char* baud : {"299", "10000001", "fast"}) {
        SetDlgItemTextA(dialog, kBaud, baud);
        expect_refused(dialog, std::string("baud ") + baud);
      }
      SetDlgItemTextA(dialog, kBaud, "9600");
      choose(dialog, kPort, -1);
      expect_refused(dialog, "no port");
      choose(dialog, kPort, 2);
      SetDlgItemTextA(dialog, kBaud, "128000");
      choose(dialog, kParity, 2);
      choose(dialog, kDataBits, 1);
      choose(dialog, kStopBits, 1);
      choose(dialog, kProtocol, 3);
      set_check(dialog, kDsr, true);
      set_check(dialog, kCts, true);
      click(dialog, IDOK);
    });
    EXPECT_EQ(CSio().SetupDialog(nullptr, config, 0), 1);
  }
  EXPECT_STREQ(config, "COM255:128000,O,6,1.5,DSR,CTS");
  // The limits themselves, and a hardware handshake.
  for (const char* baud : {"300", "10000000"}) {
    dialog_driver driver(kTitle, [baud](HWND dialog) {
      SetDlgItemTextA(dialog, kBaud, baud);
      choose(dialog, kProtocol, 1);
      click(dialog, IDOK);
    });
    EXPECT_EQ(CSio().SetupDialog(nullptr, config, 0), 1);
    EXPECT_EQ(std::string(config), std::string("COM255:") + baud + ",O,6,1.5,DTR,RTS,DSR,CTS");
  }
}

TEST(SioSetupDialog, OptionBitsDisableTheirControlsAndTheDefaultNeedsNoDialog) {
  serial_device_map map;
  map.only_ports({2});
  char config[64] = "COM2:9600,N,8,1";
  dialog_driver driver(kTitle, [](HWND dialog) {
    for (int id : {kPort, kParity, kProtocol}) EXPECT_TRUE(enabled(dialog, id)) << id;
    for (int id : {kBaud, kDataBits, kStopBits}) EXPECT_FALSE(enabled(dialog, id)) << id;
    click(dialog, IDOK);
  });
  EXPECT_EQ(CSio().SetupDialog(nullptr, config, 0x01 | 0x04 | 0x10), 1);
  EXPECT_STREQ(config, "COM2:9600,N,8,1");
  strcpy(config, "COM7:300,E,7,2");  // the default without a dialog
  EXPECT_EQ(CSio().SetupDialog(nullptr, config, CSIO_SETUP_DEFAULT | 0x1F), 1);
  EXPECT_STREQ(config, "COM2:9600,N,8,1");
  EXPECT_EQ(CSio().SetupDialog(nullptr, nullptr, 0), 0);
  EXPECT_EQ(CSio().SetupDialog(nullptr, nullptr, CSIO_SETUP_DEFAULT), 0);
}

}  // namespace
