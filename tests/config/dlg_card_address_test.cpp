// Card addresses read from a real dialog's field; the boxes are answered by the box catcher.
#include <gtest/gtest.h>

#include <string>

#include "support/box_catcher.h"
#include "tambre32/settings.h"

namespace {

constexpr int kField = 1000;
constexpr DWORD kUntouched = 0xDEADBEEF;

INT_PTR CALLBACK plain_dialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(CardAddress, FieldTextAndTheBoxesThatExplainOrAsk) {
  // The test program's hidden card dialog: a box catcher only ever finds the library's boxes.
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(201), nullptr, plain_dialog, 0);
  ASSERT_NE(dialog, nullptr) << GetLastError();
  const std::string pc_port = "Die EA-Adresse '3F8' (hex) wird vermutlich von der PC-Hardware benutzt";
  const struct {
    const char* text;
    short message;
    int answer, result;
    DWORD address;
    std::string shown = "";  // the whole text, or the start of the PC port question
  } rows[] = {
      {"300", 1, 0, 1, 0x300},
      {"3F8 ", 0, 0, 1, 0x3F8},  // PC hardware, taken when nobody is asked
      {"0x300", 0, 0, 1, 0x300},
      {"FFFF", 0, 0, 1, 0xFFFF},
      {"00000000300Z", 0, 0, 1, 0x300},  // only the first 11 characters
      {"", 1, 0, 0, kUntouched},
      {"3G8", 0, 0, 0, kUntouched},
      {"300\t", 0, 0, 0, kUntouched},
      {"0", 0, 0, 0, kUntouched},
      {"FF", 0, 0, 0, kUntouched},
      {"10000", 1, IDOK, 0, kUntouched,
       "Die Angabe '10000' entspricht keiner g\xFCltigen Kartenadresse. Die Adresse muss hexadezimal (0..9, "
       "A..F) angegeben werden und darf nicht Null sein."},
      {"60", 1, IDOK, 0, kUntouched,
       "Die EA-Adresse '60' (hex) wird vom System benutzt und kann nicht verwendet werden."},
      {"3F8 ", 1, IDNO, 0, kUntouched, pc_port},
      {"3F8 ", 1, IDYES, 1, 0x3F8, pc_port},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.text) + " answered " + std::to_string(r.answer));
    SetDlgItemTextA(dialog, kField, r.text);
    DWORD address = kUntouched;
    if (r.answer == 0) {
      EXPECT_EQ(GetDlgCardAddress(dialog, kField, &address, r.message), r.result);
      EXPECT_EQ(address, r.address);
      continue;
    }
    tambre::test::box_catcher catcher(r.answer);
    EXPECT_EQ(GetDlgCardAddress(dialog, kField, &address, r.message), r.result);
    const tambre::test::caught_box box = catcher.wait();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.text.substr(0, r.shown == pc_port ? pc_port.size() : std::string::npos), r.shown);
    EXPECT_EQ(address, r.address);
    if (r.answer != IDOK) continue;
    EXPECT_EQ(box.caption, "Treiber");
    EXPECT_EQ(box.owner, nullptr);
  }
  EXPECT_EQ(GetDlgCardAddress(dialog, 4711, nullptr, 1), 0);
  EXPECT_TRUE(tambre::test::no_box_visible());
  DestroyWindow(dialog);
}

}  // namespace
