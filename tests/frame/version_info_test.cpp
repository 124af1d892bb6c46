// The DLL's version resource as Explorer and installers read it: the fixed part and the
// named texts, against the version the project is built with.
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
  ASSERT_EQ(size, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, major << 16 | minor);
  EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

  // The named texts of the first translation.
  WORD* translation = nullptr;
  ASSERT_TRUE(
      VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size));
  ASSERT_GE(size, 4u);
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);

  const struct {
    const char* name;
    std::string expected;
  } rows[] = {
      {"CompanyName", "Brintel"},
      {"ProductName", "TAMBRE32"},
      {"OriginalFilename", "tambre32.dll"},
      {"FileVersion", TAMBRE_PROJECT_VERSION},
      {"ProductVersion", TAMBRE_PROJECT_VERSION},
  };
  for (const auto& row : rows) {
    char* text = nullptr;
    UINT length = 0;
    std::string key = std::string(prefix) + row.name;
    ASSERT_TRUE(VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)) << key;
    EXPECT_EQ(std::string(text), row.expected) << row.name;
  }
}

}  // namespace
