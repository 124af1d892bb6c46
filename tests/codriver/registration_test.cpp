// Registration of the automation server in the prefix's registry, read back with the registry API.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "codriver/codriver_test_support.h"
#include "config/registry_oracle.h"
#include "support/box_catcher.h"
#include "support/child_process.h"
#include "support/file_contents.h"

namespace {

using config_test::read_raw;
using config_test::write_raw;

constexpr char kClass[] = "CLSID\\{5AC12E60-2969-4A89-A110-F154350593C0}";
constexpr char kLibrary[] = "TypeLib\\{95EE0E40-EB12-4304-9D9D-8A8A73AA543C}";
constexpr char kLibraryPath[] = "TypeLib\\{95EE0E40-EB12-4304-9D9D-8A8A73AA543C}\\1.0\\0\\win32";
constexpr char kServerName[] = "Process driver server object";

// The keys a registration writes and a removal deletes, outermost first.
const char* const kTopKeys[] = {
    "ProcessDriver.Server",
    "ProcessDriver.Server.1",
    kClass,
    kLibrary,
    "Interface\\{F4B183B9-9278-4E8B-A627-09CD1786575A}",
    "Interface\\{4ACFBBD9-C512-4452-A1B0-645A66504000}",
    "Interface\\{0E5DA385-E570-418C-AD65-10918DD17881}",
    "Interface\\{046FFCBD-866B-4FBC-AF19-91DAECA65D67}",
};

std::string library_file() { return tambre::test::dll_directory() + "codriver.tlb"; }

// The host server's command beside the program in `directory`.
std::string server_command(std::string directory) { return "\"" + directory + "\\Quorlin32.exe\" /Automation"; }

std::string default_text(const std::string& key) {
  const auto value = read_raw(HKEY_CLASSES_ROOT, key, nullptr);
  if (!value.found) return "<missing>";
  std::string text = value.text();
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

// The file's write time, or with `set` its new one.
std::uint64_t write_time(const std::string& path, const FILETIME* set = nullptr) {
  HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME time{};
  if (set) SetFileTime(file, nullptr, nullptr, set);
  GetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// regsvr32 of the prefix loads the DLL in its own process and calls the entry points.
DWORD regsvr32(const std::string& options) {
  const std::string dll = tambre::test::dll_directory() + "tambre32.dll";
  return tambre::test::child_process("regsvr32.exe " + options + " \"" + dll + "\"").wait();
}

TEST(Registration, Regsvr32RoundTripAndWhatMakesTheQuietRegistrationWriteAgain) {
  for (const char* key : kTopKeys) config_test::delete_tree(HKEY_CLASSES_ROOT, key);
  DeleteFileA(library_file().c_str());
  ASSERT_EQ(regsvr32("/s"), 0u);
  const std::string clsid = kClass;
  // The template's import is the registry-file tests'; here the keys it names and what is filled in.
  EXPECT_EQ(default_text("ProcessDriver.Server.1\\Clsid"), "{5AC12E60-2969-4A89-A110-F154350593C0}");
  EXPECT_EQ(default_text(kLibraryPath), library_file());
  // What the standard marshaller needs to find the library; not part of the template.
  EXPECT_EQ(read_raw(HKEY_CLASSES_ROOT, std::string(kTopKeys[5]) + "\\TypeLib", "Version").text(),
            std::string("1.0", 4));
  // A 32-bit process on 64-bit Windows starts the 32-bit regsvr32, from the WOW64 folder.
  char system[MAX_PATH] = "";
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (wow64) {
    GetSystemWow64DirectoryA(system, MAX_PATH);
  } else {
    GetSystemDirectoryA(system, MAX_PATH);
  }
  EXPECT_EQ(default_text(clsid + "\\LocalServer32"), server_command(system)) << "beside the registering process";
  // The file beside the DLL is the embedded type library, byte for byte.
  HMODULE dll = GetModuleHandleA("tambre32.dll");
  HRSRC found = FindResourceA(dll, "CODRIVER.TLB", "TYPELIB");  // names ignore case
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(tambre::test::file_contents(library_file()),
            std::string(static_cast<const char*>(LockResource(LoadResource(dll, found))), SizeofResource(dll, found)));

  struct row {
    const char* name;
    void (*change)();
    bool rewrites, file_rewritten;
  };
  const row rows[] = {
      {"nothing changed: the current registration writes nothing", [] {}, false, false},
      {"file deleted", [] { DeleteFileA(library_file().c_str()); }, true, true},
      {"interface without its library version",
       [] { config_test::delete_tree(HKEY_CLASSES_ROOT, std::string(kTopKeys[4]) + "\\TypeLib"); }, true, false},
  };
  constexpr FILETIME kOldTime = {0x2A69C000, 0x01B9E4A8};  // early 1990s
  auto* driver = new CoDriver;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ASSERT_EQ(driver->RegisterServer(true), S_OK);
    const std::uint64_t old_time = write_time(library_file(), &kOldTime);
    write_raw(HKEY_CLASSES_ROOT, "ProcessDriver.Server", nullptr, REG_SZ, "marked", 7);
    r.change();
    EXPECT_EQ(driver->RegisterServer(false), S_OK);
    EXPECT_TRUE(tambre::test::no_box_visible());
    EXPECT_EQ(default_text("ProcessDriver.Server"), r.rewrites ? kServerName : "marked");
    EXPECT_EQ(write_time(library_file()) != old_time, r.file_rewritten);
    if (r.rewrites) {
      EXPECT_EQ(default_text(kLibraryPath), library_file());
    }
  }
  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  *std::strrchr(program, '\\') = '\0';
  EXPECT_EQ(default_text(clsid + "\\LocalServer32"), server_command(program));
  delete driver;

  ASSERT_EQ(regsvr32("/s /u"), 0u);
  for (const char* key : kTopKeys) EXPECT_FALSE(config_test::inspect_key(HKEY_CLASSES_ROOT, key).exists) << key;
  EXPECT_NE(GetFileAttributesA(library_file().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
