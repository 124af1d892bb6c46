// xlClipboardFormat through the DLL: the id is the one the platform gives "XlTable".
#include <windows.h>

#include <gtest/gtest.h>

#include "tambre32/xltable.h"

namespace {

TEST(XlClipboardFormat, IsTheRegisteredXlTableFormat) {
  const UINT id = xlClipboardFormat();
  EXPECT_GE(id, 0xC000u);  // the range of registered formats
  EXPECT_EQ(RegisterClipboardFormatA("XlTable"), id);
  char name[32] = {};
  ASSERT_GT(GetClipboardFormatNameA(id, name, sizeof name), 0);
  EXPECT_STREQ(name, "XlTable");
}

}  // namespace
