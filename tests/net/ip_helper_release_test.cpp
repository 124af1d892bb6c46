// The library loads IP Helper itself on first use and lets it go when it leaves the
// process. This program links neither, so it sees the library's own reference alone.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/dll_proc.h"

namespace {

using names_proc = int(__stdcall*)(char*, int);

TEST(IpHelperBinding, LoadedOnFirstUseAndReleasedAtDetach) {
  ASSERT_EQ(GetModuleHandleA("iphlpapi.dll"), nullptr) << "something else loaded IP Helper already";
  HMODULE library = LoadLibraryA("tambre32.dll");
  ASSERT_NE(library, nullptr);
  const bool loaded_by_imports = GetModuleHandleA("iphlpapi.dll") != nullptr;
  auto get_adapter_names = tambre::test::dll_proc<names_proc>(library, "GetAdapterNames");
  ASSERT_NE(get_adapter_names, nullptr);
  char names[1024];
  EXPECT_GE(get_adapter_names(names, sizeof names), 0);
  EXPECT_NE(GetModuleHandleA("iphlpapi.dll"), nullptr);
  ASSERT_TRUE(FreeLibrary(library));
  EXPECT_EQ(GetModuleHandleA("tambre32.dll"), nullptr);
  if (!loaded_by_imports) {
    EXPECT_EQ(GetModuleHandleA("iphlpapi.dll"), nullptr) << "the binding outlived the library";
  }
}

}  // namespace
