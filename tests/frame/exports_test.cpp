// The DLL as a driver loads it: by name, with LoadLibrary and GetProcAddress, called with
// the calling conventions of the headers. (That every listed name is exported is the
// export check of the build.)
#include <gtest/gtest.h>

#include <windows.h>

#include "support/dll_proc.h"
#include "tambre32/api.h"

namespace {

TEST(Exports, CallsByNameGiveTheDocumentedResults) {
  HMODULE library = LoadLibraryA("tambre32.dll");
  ASSERT_NE(library, nullptr);
  auto strxcpy_ = tambre::test::dll_proc<char*(TAMBRE_FASTCALL*)(char*, const char*, unsigned)>(library, "strxcpy");
  auto strmatch_ = tambre::test::dll_proc<int(TAMBRE_FASTCALL*)(const char*, const char*)>(library, "strmatch");
  auto get_sys_error_str_ = tambre::test::dll_proc<int(TAMBRE_STDCALL*)(char*, int, DWORD)>(library, "GetSysErrorStr");
  auto assert_dbg_ =
      tambre::test::dll_proc<int(TAMBRE_STDCALL*)(int, const char*, const char*, int, int)>(library, "AssertDbg");
  ASSERT_TRUE(strxcpy_ && strmatch_ && get_sys_error_str_ && assert_dbg_);

  char buffer[8];
  EXPECT_STREQ(strxcpy_(buffer, "abcdef", 4), "abc");
  EXPECT_EQ(strmatch_("report.TXT", "*.txt"), 1);
  EXPECT_EQ(strmatch_("abxabcd", "*ab?d"), 0);
  EXPECT_EQ(get_sys_error_str_(buffer, sizeof buffer, 0), 1);
  EXPECT_EQ(assert_dbg_(1, "", "", 0, 0), 1);
  FreeLibrary(library);
}

}  // namespace
