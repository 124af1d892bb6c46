// The version queries under Wine set to several Windows versions. Wine takes the version
// of a program from HKCU\Software\Wine\AppDefaults\<program>\Version when the program
// starts; the probe program reports what the queries answer there.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/child_process.h"
#include "sys/handles.h"
#include "tambre32/services.h"

namespace {

constexpr char kProbeKey[] = "Software\\Wine\\AppDefaults\\version_probe.exe";

// Sets the Windows version Wine gives the probe program while the object lives.
class probe_version {
 public:
  explicit probe_version(const char* version) {
    RegCreateKeyExA(HKEY_CURRENT_USER, kProbeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key_.put(), nullptr);
    RegSetValueExA(key_.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(std::strlen(version) + 1));
  }
  ~probe_version() {
    key_.reset();
    RegDeleteKeyA(HKEY_CURRENT_USER, kProbeKey);
  }
  bool set() const { return static_cast<bool>(key_); }

 private:
  tambre::sys::reg_key key_;
};

std::string probe_answers() {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string probe(program);
  probe.replace(probe.rfind('\\') + 1, std::string::npos, "version_probe.exe");
  tambre::test::child_process child("\"" + probe + "\"", true);
  std::string line = child.read_line(60000);
  child.wait();
  return line;
}

TEST(VersionUnderWine, AnswersOfEachWindowsVersion) {
  // The last field is the product type of the system's own record (1 workstation):
  // Wine 8 gives its "win7" setting a server product type, so it reads as Server 2008 R2.
  const struct {
    const char* wine_version;
    const char* answers;  // code|name|selector 1|11|12|34|major.minor|product type
  } rows[] = {
      {"winxp", "5|Windows XP|1|0|0|48|5.1|1"},         {"win2003", "6|Windows Server 2003|1|0|0|48|5.2|3"},
      {"win7", "8|Windows Server 2008|1|1|1|48|6.1|3"}, {"win2008r2", "9|Windows 7|1|1|1|48|6.1|1"},
      {"win81", "12|Windows 8.1|1|1|1|48|6.3|1"},       {"win10", "14|Windows (higher)|1|1|1|48|10.0|1"},
  };
  for (const auto& row : rows) {
    probe_version version(row.wine_version);
    ASSERT_TRUE(version.set());
    EXPECT_EQ(probe_answers(), row.answers) << row.wine_version;
  }
}

TEST(VersionUnderWine, ThisProcessAgreesWithTheSystemsRecord) {
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)));
  EXPECT_EQ(QueryWin32Name(3), static_cast<intptr_t>(info.dwMajorVersion));
  EXPECT_EQ(QueryWin32Name(4), static_cast<intptr_t>(info.dwMinorVersion));
  EXPECT_EQ(QueryWin32Name(2), static_cast<intptr_t>(info.dwBuildNumber));
  EXPECT_STREQ(reinterpret_cast<const char*>(QueryWin32Name(1)), info.szCSDVersion);
  EXPECT_EQ(QueryWin32Param(0), 1);
  // 1 only for a 32-bit process on 64-bit Windows.
  BOOL emulated = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &emulated));
  EXPECT_EQ(Is64BitWindows(), emulated ? 1 : 0);
  EXPECT_EQ(QueryWin32Param(19), emulated ? 1 : 0);
}

}  // namespace
