// The automation helpers through the DLL, against Wine's own COM and OLE results.
#include <gtest/gtest.h>

#include <string>

#include "support/rpc_service.h"
#include "tambre32/automation.h"

namespace {

const GUID kProcessDriverClass = {0x5AC12E60, 0x2969, 0x4A89, {0xA1, 0x10, 0xF1, 0x54, 0x35, 0x05, 0x93, 0xC0}};

TEST(AutomationText, WideTextsInTheSystemCodePageCutToTheBuffer) {
  const char german[] =
      "Pr\xfc"
      "fstand";
  OLECHAR wide[TAMBRE_OLESTR_BUFFER + 8], expected[32];
  char narrow[TAMBRE_OLESTR_BUFFER + 8];
  EXPECT_EQ(ToOleStr(wide, german), wide);
  ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, german, -1, expected, 32), 0);  // Wine as oracle
  EXPECT_EQ(std::wstring(wide), std::wstring(expected));
  EXPECT_STREQ(FromOleStr(narrow, wide), german);

  for (auto& c : wide) c = L'#';
  ToOleStr(wide, std::string(400, 'x').c_str());
  EXPECT_EQ(std::wstring(wide).size(), static_cast<size_t>(TAMBRE_OLESTR_BUFFER - 1));
  EXPECT_EQ(wide[TAMBRE_OLESTR_BUFFER], L'#');  // nothing written beyond
  memset(narrow, '#', sizeof narrow);
  FromOleStr(narrow, std::wstring(400, L'y').c_str());
  EXPECT_EQ(strlen(narrow), static_cast<size_t>(TAMBRE_OLESTR_BUFFER - 1));
  EXPECT_EQ(narrow[TAMBRE_OLESTR_BUFFER], '#');

  EXPECT_EQ(MakeSysStr(nullptr), nullptr);
  for (const std::string& text : {std::string(), std::string(300, 'a')}) {
    BSTR made = MakeSysStr(text.c_str());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(SysStringLen(made), text.size());
    SysFreeString(made);
  }
  char out[TAMBRE_OLESTR_BUFFER] = "stale";
  EXPECT_STREQ(FromSysStr(out, nullptr), "");
  EXPECT_STREQ(FromSysStr(out, SysAllocString(L"Kanal 7")), "Kanal 7");  // frees it

  EXPECT_STREQ(StrFromGUID(kProcessDriverClass), "{5AC12E60-2969-4A89-A110-F154350593C0}");
  char* shared = StrFromGUID(IID_IDispatch);
  EXPECT_STREQ(shared, "{00020400-0000-0000-C000-000000000046}");
  EXPECT_EQ(StrFromGUID(kProcessDriverClass), shared);  // one buffer for all calls
  EXPECT_EQ(MakeBool(-7), VARIANT_TRUE);
  EXPECT_EQ(MakeBool(0), VARIANT_FALSE);
}

struct ComApartment {
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

TEST(FileMonikers, RegisterInTheRunningObjectTable) {
  ASSERT_TRUE(tambre::test::ensure_rpc_service_running());
  ComApartment com;
  IUnknown* object = nullptr;
  ASSERT_HRESULT_SUCCEEDED(CreateBindCtx(0, reinterpret_cast<IBindCtx**>(&object)));  // any COM object
  DWORD cookie = 0;
  IMoniker* moniker = nullptr;
  ASSERT_EQ(RegisterFileMoniker("ABC.Driver.SysID7", object, &cookie, &moniker), S_OK);
  ASSERT_NE(moniker, nullptr);
  EXPECT_NE(cookie, 0u);

  IRunningObjectTable* table = nullptr;
  ASSERT_HRESULT_SUCCEEDED(GetRunningObjectTable(0, &table));
  IMoniker* lookup = nullptr;
  ASSERT_HRESULT_SUCCEEDED(CreateFileMoniker(L"ABC.Driver.SysID7", &lookup));
  EXPECT_EQ(table->IsRunning(lookup), S_OK);
  IUnknown* found = nullptr;
  ASSERT_EQ(table->GetObject(lookup, &found), S_OK);
  EXPECT_EQ(found, object);
  found->Release();
  EXPECT_EQ(table->Revoke(cookie), S_OK);
  EXPECT_EQ(table->IsRunning(lookup), S_FALSE);
  lookup->Release();
  table->Release();
  moniker->Release();
  object->Release();

  EXPECT_EQ(RegisterFileMoniker(nullptr, object, &cookie, &moniker), E_FAIL);
}

}  // namespace
