// Registration of the automation server in the prefix's registry, read back with the registry API.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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
constexpr char kLibraryId[] = "{95EE0E40-EB12-4304-9D9D-8A8A73AA543C}";
constexpr char kMarshaller[] = "{00020424-0000-0000-C000-000000000046}";
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

struct template_row {
  std::string key;
  const char* value_name;  // null: the default value
  const char* text;        // null: the key only
};

std::vector<template_row> template_rows() {
  const std::string clsid = kClass;
  const std::string lib = kLibrary;
  std::vector<template_row> rows = {
      {"ProcessDriver.Server", nullptr, kServerName},
      {"ProcessDriver.Server\\Clsid", nullptr, "{5AC12E60-2969-4A89-A110-F154350593C0}"},
      {"ProcessDriver.Server.1", nullptr, kServerName},
      {"ProcessDriver.Server.1\\Clsid", nullptr, "{5AC12E60-2969-4A89-A110-F154350593C0}"},
      {clsid, nullptr, kServerName},
      {clsid + "\\ProgID", nullptr, "ProcessDriver.Server.1"},
      {clsid + "\\VersionIndependentProgID", nullptr, "ProcessDriver.Server"},
      {clsid + "\\TypeLib", nullptr, kLibraryId},
      {clsid + "\\Programmable", nullptr, nullptr},
      {clsid + "\\LocalServer32", "ThreadingModel", "Apartment"},
      {lib, nullptr, nullptr},
      {lib + "\\1.0", nullptr, "TambreTypes for Ostrand"},
      {lib + "\\1.0\\HELPDIR", nullptr, ""},
  };
  const std::pair<const char*, const char*> interfaces[] = {
      {"{F4B183B9-9278-4E8B-A627-09CD1786575A}", "IProcessDriver"},
      {"{4ACFBBD9-C512-4452-A1B0-645A66504000}", "IProcessDriverEvent"},
      {"{0E5DA385-E570-418C-AD65-10918DD17881}", "ChannelMap"},
      {"{046FFCBD-866B-4FBC-AF19-91DAECA65D67}", "ChannelMapCollection"},
  };
  for (const auto& [iid, name] : interfaces) {
    const std::string key = std::string("Interface\\") + iid;
    rows.push_back({key, nullptr, name});
    rows.push_back({key + "\\TypeLib", nullptr, kLibraryId});
    // What the standard marshaller needs to find the library; not part of the template.
    rows.push_back({key + "\\TypeLib", "Version", "1.0"});
    rows.push_back({key + "\\ProxyStubClsid32", nullptr, kMarshaller});
  }
  return rows;
}

std::string library_file() { return tambre::test::dll_directory() + "codriver.tlb"; }

std::string expected_server_command() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path);
  return "\"" + text.substr(0, text.rfind('\\') + 1) + "Quorlin32.exe\" /Automation";
}

std::string default_text(const std::string& key) {
  const auto value = read_raw(HKEY_CLASSES_ROOT, key, nullptr);
  if (!value.found) return "<missing>";
  std::string text = value.text();
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

void remove_registration() {
  for (const char* key : kTopKeys) config_test::delete_tree(HKEY_CLASSES_ROOT, key);
}

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

FILETIME write_time(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

void set_write_time(const std::string& path, FILETIME time) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

bool same_time(FILETIME a, FILETIME b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

void mark_value(const char* text) {
  write_raw(HKEY_CLASSES_ROOT, "ProcessDriver.Server", nullptr, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

constexpr FILETIME kOldTime = {0x2A69C000, 0x01B9E4A8};  // early 1990s

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    remove_registration();
    driver_ = new CoDriver;
  }
  void TearDown() override { delete driver_; }
  CoDriver* driver_ = nullptr;
};

TEST_F(Registration, ForcedWritesEveryTemplateEntryAndRemovalDeletesThem) {
  DeleteFileA(library_file().c_str());
  ASSERT_EQ(driver_->RegisterServer(true), S_OK);
  EXPECT_TRUE(tambre::test::no_box_visible());

  for (const auto& row : template_rows()) {
    SCOPED_TRACE(row.key + (row.value_name ? std::string(" ") + row.value_name : std::string()));
    EXPECT_TRUE(config_test::inspect_key(HKEY_CLASSES_ROOT, row.key).exists);
    const auto value = read_raw(HKEY_CLASSES_ROOT, row.key, row.value_name);
    if (!row.text) {
      EXPECT_FALSE(value.found);
      continue;
    }
    ASSERT_TRUE(value.found);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.text(), std::string(row.text) + '\0');
  }
  EXPECT_EQ(default_text(kLibraryPath), library_file());
  EXPECT_EQ(default_text(std::string(kClass) + "\\LocalServer32"), expected_server_command());

  // The file beside the DLL is the embedded type library, byte for byte.
  const auto embedded = tambre::test::embedded_type_library();
  ASSERT_FALSE(embedded.empty());
  EXPECT_EQ(tambre::test::file_contents(library_file()), embedded);

  // Removal deletes every key of the template and keeps the file.
  EXPECT_EQ(driver_->UnregisterServer(), 0);
  for (const auto& row : template_rows()) {
    EXPECT_FALSE(config_test::inspect_key(HKEY_CLASSES_ROOT, row.key).exists) << row.key;
  }
  EXPECT_TRUE(file_exists(library_file()));
}

TEST_F(Registration, WhatMakesTheQuietRegistrationWriteAgain) {
  struct row {
    const char* name;
    void (*change)();
    bool rewrites;
    bool file_rewritten;
  };
  const row rows[] = {
      {"nothing changed: the current registration writes nothing", [] {}, false, false},
      {"path differs in letter case only",
       [] {
         std::string upper = library_file();
         for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
         write_raw(HKEY_CLASSES_ROOT, kLibraryPath, nullptr, REG_SZ, upper.c_str(),
                   static_cast<DWORD>(upper.size() + 1));
       },
       false, false},
      {"file deleted", [] { DeleteFileA(library_file().c_str()); }, true, true},
      {"path key missing", [] { config_test::delete_tree(HKEY_CLASSES_ROOT, kLibrary); }, true, false},
      {"interface without its library version",
       [] {
         config_test::delete_tree(HKEY_CLASSES_ROOT, "Interface\\{F4B183B9-9278-4E8B-A627-09CD1786575A}\\TypeLib");
       },
       true, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ASSERT_EQ(driver_->RegisterServer(true), S_OK);
    set_write_time(library_file(), kOldTime);
    mark_value("marked");
    r.change();
    EXPECT_EQ(driver_->RegisterServer(false), S_OK);
    EXPECT_TRUE(tambre::test::no_box_visible());
    EXPECT_EQ(default_text("ProcessDriver.Server"), r.rewrites ? kServerName : "marked");
    EXPECT_EQ(!same_time(write_time(library_file()), kOldTime), r.file_rewritten);
    if (r.rewrites) {
      EXPECT_EQ(default_text(kLibraryPath), library_file());
    }
  }
}

TEST_F(Registration, MissingNamesFailWithMessageNineOnlyWhenForced) {
  ASSERT_TRUE(driver_->SetClassName("Pumpenwerk"));
  ASSERT_TRUE(driver_->SetRegFileName(""));
  {
    tambre::test::box_catcher catcher(IDOK);
    EXPECT_EQ(driver_->RegisterServer(true), E_UNEXPECTED);
    const auto box = catcher.wait();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.text,
              "Die Registrierung des ActiveX-Server 'Pumpenwerk' ist fehlgeschlagen.\nDas Objekt kann garnicht oder "
              "nur eingeschr\xE4nkt verwendet werden.");
    EXPECT_EQ(box.icon, tambre::test::box_icon::exclamation);
  }
  EXPECT_EQ(driver_->RegisterServer(false), E_UNEXPECTED);
  EXPECT_TRUE(tambre::test::no_box_visible());
  EXPECT_FALSE(config_test::inspect_key(HKEY_CLASSES_ROOT, "ProcessDriver.Server").exists);

  driver_->m_instance = nullptr;
  EXPECT_EQ(driver_->RegisterServer(false), E_UNEXPECTED);
}

TEST_F(Registration, TypeInformationFromTheRegistry) {
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
  EXPECT_TRUE(FAILED(driver_->LoadTypeInfo("nosuch.tlb", IID_ChannelMap, info)));
  EXPECT_EQ(info, nullptr);
  ASSERT_EQ(driver_->RegisterServer(true), S_OK);  // registered: found by its library id
  EXPECT_EQ(driver_->LoadTypeInfo("nosuch.tlb", IID_ChannelMap, info), S_OK);
  ASSERT_NE(info, nullptr);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_ChannelMap));
  info->ReleaseTypeAttr(attributes);
  driver_->UnloadTypeInfo(info);
  EXPECT_TRUE(FAILED(driver_->LoadTypeInfo("codriver.tlb", IID_IStream, info)));
  EXPECT_EQ(info, nullptr);
}

// regsvr32 of the prefix loads the DLL in its own process and calls the entry points.
DWORD regsvr32(const std::string& options) {
  return tambre::test::child_process("regsvr32.exe " + options + " \"" + tambre::test::dll_directory() +
                                     "tambre32.dll\"")
      .wait();
}

TEST_F(Registration, Regsvr32RegistersAndRemoves) {
  DeleteFileA(library_file().c_str());
  ASSERT_EQ(regsvr32("/s"), 0u);
  EXPECT_EQ(default_text(kLibraryPath), library_file());
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, MAX_PATH);
  // The host server lies beside regsvr32, the process that registered.
  EXPECT_EQ(default_text(std::string(kClass) + "\\LocalServer32"),
            "\"" + std::string(system) + "\\Quorlin32.exe\" /Automation");
  EXPECT_TRUE(file_exists(library_file()));
  ASSERT_EQ(regsvr32("/s /u"), 0u);
  for (const char* key : kTopKeys) EXPECT_FALSE(config_test::inspect_key(HKEY_CLASSES_ROOT, key).exists) << key;
  EXPECT_TRUE(file_exists(library_file()));
}

}  // namespace
