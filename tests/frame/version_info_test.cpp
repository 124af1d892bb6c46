// The DLL's version resource as Explorer and installers read it, against the version the
// project is built with.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(VersionInfo, FixedPartAndNamedTextsCarryTheProjectVersion) {
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(TAMBRE_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
  char path[MAX_PATH];
  GetModuleFileNameA(GetModuleHandleA("tambre32.dll"), path, MAX_PATH);
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, major << 16 | minor);
  EXPECT_EQ(fixed->dwProductVersionLS, patch << 16);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
  WORD* translation = nullptr;
  ASSERT_TRUE(
      VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size));
  char key[64];
  std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0], translation[1]);
  char* text = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), key, reinterpret_cast<void**>(&text), &size));
  EXPECT_STREQ(text, TAMBRE_PROJECT_VERSION);
}

}  // namespace
