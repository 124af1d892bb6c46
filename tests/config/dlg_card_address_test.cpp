// Card addresses read from a real dialog's field; the boxes are answered by the box catcher.
#include <gtest/gtest.h>

#include <string>

#include "support/box_catcher.h"
#include "tambre32/settings.h"

namespace {

using tambre::test::box_catcher;
using tambre::test::box_icon;
using tambre::test::caught_box;
using tambre::test::no_box_visible;

constexpr int kDialog = 201;
constexpr int kField = 1000;
constexpr DWORD kUntouched = 0xDEADBEEF;

INT_PTR CALLBACK plain_dialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The test program's hidden card dialog, destroyed with the fixture.
class CardAddress : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDialog), nullptr, plain_dialog, 0);
    ASSERT_NE(dialog_, nullptr) << GetLastError();
  }
  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
  }
  // The field holds `text`; the address the library read, kUntouched when it stored none.
  int read(const char* text, DWORD& address, short message = 0) {
    SetDlgItemTextA(dialog_, kField, text);
    address = kUntouched;
    return GetDlgCardAddress(dialog_, kField, &address, message);
  }

  HWND dialog_ = nullptr;
};

TEST_F(CardAddress, FieldTextWithoutMessages) {
  struct row {
    const char* name;
    const char* text;
    int result;
    DWORD address;
  };
  const row rows[] = {
      {"free port", "300", 1, 0x300},
      {"trailing blank", "3F8 ", 1, 0x3F8},  // PC hardware, taken when nobody is asked
      {"0x prefix", "0x300", 1, 0x300},
      {"highest port", "FFFF", 1, 0xFFFF},
      {"only the first 11 characters", "00000000300Z", 1, 0x300},
      {"empty", "", 0, kUntouched},
      {"more than 16 bits", "10000", 0, kUntouched},
      {"not hexadecimal", "3G8", 0, kUntouched},
      {"tab is no blank", "300\t", 0, kUntouched},
      {"zero is the system's", "0", 0, kUntouched},
      {"last system port", "FF", 0, kUntouched},
  };
  for (const row& r : rows) {
    DWORD address = 0;
    EXPECT_EQ(read(r.text, address), r.result) << r.name;
    EXPECT_EQ(address, r.address) << r.name;
  }
  EXPECT_TRUE(no_box_visible());
}

TEST_F(CardAddress, NoBoxForMissingFieldEmptyOrFreeAddressEvenWhenAsked) {
  DWORD address = kUntouched;
  EXPECT_EQ(GetDlgCardAddress(dialog_, 4711, &address, 1), 0);
  EXPECT_EQ(GetDlgCardAddress(dialog_, kField, nullptr, 1), 0);
  EXPECT_EQ(read("", address, 1), 0);
  EXPECT_EQ(read("300", address, 1), 1);
  EXPECT_EQ(address, 0x300u);
  EXPECT_TRUE(no_box_visible());
}

TEST_F(CardAddress, BoxesExplainRefusedAddressesAndAskAboutPcPorts) {
  const std::string malformed =
      "' entspricht keiner g\xFCltigen Kartenadresse. Die Adresse muss hexadezimal (0..9, "
      "A..F) angegeben werden und darf nicht Null sein.";
  const std::string pc_port = "Die EA-Adresse '3F8' (hex) wird vermutlich von der PC-Hardware benutzt";
  struct row {
    const char* text;
    int answer, result;
    DWORD address;
    std::string shown;  // the whole text, or its start for the PC port question
  } rows[] = {
      {"10000", IDOK, 0, kUntouched, "Die Angabe '10000" + malformed},
      {"60", IDOK, 0, kUntouched, "Die EA-Adresse '60' (hex) wird vom System benutzt und kann nicht verwendet werden."},
      {"3F8 ", IDNO, 0, kUntouched, pc_port},
      {"3F8 ", IDYES, 1, 0x3F8, pc_port},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.text) + " answered " + std::to_string(r.answer));
    box_catcher catcher(r.answer);
    DWORD address = 0;
    EXPECT_EQ(read(r.text, address, 1), r.result);
    const caught_box box = catcher.wait();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.text.substr(0, r.shown == pc_port ? pc_port.size() : std::string::npos), r.shown);
    EXPECT_EQ(address, r.address);
    if (r.shown.find(malformed) == std::string::npos) continue;
    EXPECT_EQ(box.caption, "Treiber");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  }
}

}  // namespace
