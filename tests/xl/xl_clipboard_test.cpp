// xlClipboardFormat through the DLL against the real clipboard: the id is the one the
// platform gives "XlTable", and a table travels through the clipboard under it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "support/win_test_window.h"
#include "tambre32/xltable.h"

namespace {

TEST(XlClipboardFormat, IsTheRegisteredXlTableFormat) {
  const UINT id = xlClipboardFormat();
  EXPECT_GE(id, 0xC000u);  // the range of registered formats
  EXPECT_EQ(xlClipboardFormat(), id);
  EXPECT_EQ(RegisterClipboardFormatA("XlTable"), id);
  char name[32] = {};
  ASSERT_GT(GetClipboardFormatNameA(id, name, sizeof name), 0);
  EXPECT_STREQ(name, "XlTable");
}

TEST(XlClipboardFormat, TableTravelsThroughTheClipboard) {
  unsigned char table[64];
  int n = xlTableInit(table, 1, 2);
  n += xlFloat(table + n, 4.5);
  n += xlString(table + n, "Druck");

  tambre::test::counting_window owner;  // a window of our own owns the clipboard
  ASSERT_NE(owner.handle(), nullptr);
  ASSERT_TRUE(OpenClipboard(owner.handle()));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(n));
  ASSERT_NE(memory, nullptr);
  std::memcpy(GlobalLock(memory), table, static_cast<size_t>(n));
  GlobalUnlock(memory);
  const bool stored = SetClipboardData(xlClipboardFormat(), memory) != nullptr;  // the clipboard owns it now
  CloseClipboard();
  ASSERT_TRUE(stored);

  EXPECT_TRUE(IsClipboardFormatAvailable(xlClipboardFormat()));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(xlClipboardFormat());
  ASSERT_NE(data, nullptr);
  const auto* p = static_cast<unsigned char*>(GlobalLock(data));
  const SIZE_T size = GlobalSize(data);
  char text[128] = {};
  xlFormatText(p, static_cast<int>(size), text, sizeof text - 1);
  GlobalUnlock(data);
  EmptyClipboard();
  CloseClipboard();
  EXPECT_STREQ(text, "xlTable[1,2] {\r\nxlFloat{ 4.5 }\r\nxlString{ 'Druck' }\r\n}");
}

}  // namespace
