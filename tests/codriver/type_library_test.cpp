// The type library the DLL carries, read back with Wine's own type library loader. (That
// the file beside the DLL holds the same bytes is checked where registration writes it.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codriver/codriver_test_support.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "tambre32/codriver.h"

namespace {

using tambre::test::text_of;

class TypeLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string bytes = tambre::test::embedded_type_library();
    ASSERT_FALSE(bytes.empty());
    const std::string path = dir_.file("CODRIVER.TLB");
    tambre::test::write_file(path, bytes);
    std::wstring wide(path.begin(), path.end());
    ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(wide.c_str(), REGKIND_NONE, &library_));
  }
  void TearDown() override {
    if (library_) library_->Release();
  }
  ITypeInfo* type(const GUID& id) {
    ITypeInfo* info = nullptr;
    EXPECT_HRESULT_SUCCEEDED(library_->GetTypeInfoOfGuid(id, &info));
    return info;
  }

  tambre::test::temp_dir dir_;
  ITypeLib* library_ = nullptr;
};

TEST_F(TypeLibrary, LibraryAttributesAndDocumentation) {
  TLIBATTR* attributes = nullptr;
  ASSERT_HRESULT_SUCCEEDED(library_->GetLibAttr(&attributes));
  EXPECT_EQ(attributes->guid, LIBID_TambreTypes);
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 0);
  EXPECT_EQ(attributes->lcid, 0x409u);
  library_->ReleaseTLibAttr(attributes);
  BSTR name, help, file;
  DWORD context = 0;
  ASSERT_HRESULT_SUCCEEDED(library_->GetDocumentation(-1, &name, &help, &context, &file));
  EXPECT_EQ(text_of(name), "TambreTypes");
  EXPECT_EQ(text_of(help), "TambreTypes for Ostrand, Version 2.0");
  EXPECT_EQ(text_of(file), "driver.hlp");
  EXPECT_EQ(context, 170u);
}

// A dual interface shows its dispatch part first; "oleautomation" is on its vtable part.
WORD type_flags(ITypeInfo* info) {
  TYPEATTR* attributes = nullptr;
  info->GetTypeAttr(&attributes);
  WORD flags = attributes->wTypeFlags;
  const bool dual_dispatch = attributes->typekind == TKIND_DISPATCH && (flags & TYPEFLAG_FDUAL);
  info->ReleaseTypeAttr(attributes);
  HREFTYPE reference = 0;
  ITypeInfo* vtable = nullptr;
  if (dual_dispatch && SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference)) &&
      SUCCEEDED(info->GetRefTypeInfo(reference, &vtable))) {
    vtable->GetTypeAttr(&attributes);
    flags |= attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION;
    vtable->ReleaseTypeAttr(attributes);
    vtable->Release();
  }
  return flags;
}

TEST_F(TypeLibrary, TypesInOrderWithKindsFlagsAndHelp) {
  struct Row {
    const char* name;
    TYPEKIND kind;
    WORD flags;
    const char* help;
  };
  const Row rows[] = {
      {"IProcessDriver", TKIND_DISPATCH,
       TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE,
       "Process driver server interface"},
      {"DriverState", TKIND_ENUM, 0, "Constants for driver states"},
      {"ChannelType", TKIND_ENUM, 0, "Constants for channel types"},
      {"ChannelMapCollection", TKIND_DISPATCH,
       TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE,
       "Collection of all channel maps beloging to a specific type."},
      {"ChannelMap", TKIND_DISPATCH,
       TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE,
       " Describes a channel map"},
      {"EventID", TKIND_ENUM, TYPEFLAG_FHIDDEN | TYPEFLAG_FRESTRICTED, "Constants for event ids"},
      {"IProcessDriverEvent", TKIND_INTERFACE,
       TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE,
       "General process events"},
      {"ProcessDriver", TKIND_COCLASS, TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE | TYPEFLAG_FPREDECLID,
       "Describes the process driver server object. This is the appobject and a COM class."},
  };
  ASSERT_EQ(library_->GetTypeInfoCount(), std::size(rows));
  for (UINT i = 0; i < std::size(rows); ++i) {
    BSTR name, help;
    DWORD context = 0;
    ASSERT_HRESULT_SUCCEEDED(library_->GetDocumentation(i, &name, &help, &context, nullptr));
    EXPECT_EQ(text_of(name), rows[i].name);
    EXPECT_EQ(text_of(help), rows[i].help) << rows[i].name;
    EXPECT_EQ(context, 170u) << rows[i].name;
    ITypeInfo* info = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library_->GetTypeInfo(i, &info));
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
    EXPECT_EQ(attributes->typekind, rows[i].kind) << rows[i].name;
    info->ReleaseTypeAttr(attributes);
    EXPECT_EQ(type_flags(info), rows[i].flags) << rows[i].name;
    info->Release();
  }
}

struct Member {
  std::string name;
  MEMBERID id;
  INVOKEKIND kind;
  short parameters;
};

// Members of an interface in vtable order, with their dispatch ids, read through the
// vtable part of a dual interface.
void expect_members(ITypeInfo* info, const std::vector<Member>& expected) {
  TYPEATTR* attributes = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
  ASSERT_EQ(attributes->cFuncs, expected.size());
  for (UINT i = 0; i < expected.size(); ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(i, &function));
    BSTR name = nullptr;
    UINT count = 0;
    info->GetNames(function->memid, &name, 1, &count);
    EXPECT_EQ(text_of(name), expected[i].name) << i;
    EXPECT_EQ(function->memid, expected[i].id) << expected[i].name;
    EXPECT_EQ(function->invkind, expected[i].kind) << expected[i].name;
    EXPECT_EQ(function->cParams, expected[i].parameters) << expected[i].name;
    EXPECT_EQ(function->oVft, static_cast<short>((7 + i) * sizeof(void*))) << expected[i].name;
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(attributes);
}

ITypeInfo* vtable_part(ITypeInfo* dispatch) {
  HREFTYPE reference = 0;
  ITypeInfo* vtable = nullptr;
  if (SUCCEEDED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference))) {
    dispatch->GetRefTypeInfo(reference, &vtable);
  }
  dispatch->Release();
  return vtable;
}

TEST_F(TypeLibrary, ProcessDriverMembers) {
  // Name first (id 0), the others numbered on from 0x60020001; the channel properties take
  // the channel type as well.
  const char* const properties[] = {"Name",        "FileName",     "FilePath",    "InstallDir",  "AppFilePath",
                                    "AppFileName", "ProjectID",    "Control",     "Measurement", "ProjectName",
                                    "DriverState", "ChannelCount", "ChannelBase", "ChannelMaps", "CycleTime"};
  std::vector<Member> members;
  for (int i = 0; i < 15; ++i) {
    members.push_back(
        {properties[i], i == 0 ? 0 : 0x60020000 + i, INVOKE_PROPERTYGET, short(i >= 11 && i <= 13 ? 2 : 1)});
  }
  for (int n = 1; n <= 30; ++n)
    members.push_back({"ReservedMethod" + std::to_string(n), 0x6002000E + n, INVOKE_FUNC, 0});
  ITypeInfo* vtable = vtable_part(type(IID_IProcessDriver));
  ASSERT_NE(vtable, nullptr);
  expect_members(vtable, members);
  vtable->Release();
}

TEST_F(TypeLibrary, ChannelMapInterfacesAndEvents) {
  ITypeInfo* collection = vtable_part(type(IID_ChannelMapCollection));
  ASSERT_NE(collection, nullptr);
  expect_members(collection, {{"Count", 0x60020000, INVOKE_PROPERTYGET, 1},
                              {"Type", 0x60020001, INVOKE_PROPERTYGET, 1},
                              {"Item", 0, INVOKE_PROPERTYGET, 2},
                              {"_NewEnum", DISPID_NEWENUM, INVOKE_PROPERTYGET, 1}});
  collection->Release();
  ITypeInfo* map = vtable_part(type(IID_ChannelMap));
  ASSERT_NE(map, nullptr);
  expect_members(map, {{"Name", 0, INVOKE_PROPERTYGET, 1},
                       {"ChannelType", 0x60020001, INVOKE_PROPERTYGET, 1},
                       {"ChannelAddress", 0x60020002, INVOKE_PROPERTYGET, 1},
                       {"Activated", 0x60020003, INVOKE_PROPERTYGET, 1},
                       {"Activated", 0x60020003, INVOKE_PROPERTYPUT, 1},
                       {"Mapping", 0x60020005, INVOKE_PROPERTYGET, 1},
                       {"Mapping", 0x60020005, INVOKE_PROPERTYPUT, 1}});
  map->Release();
  ITypeInfo* events = type(IID_IProcessDriverEvent);
  ASSERT_NE(events, nullptr);
  expect_members(events, {{"Terminate", 2, INVOKE_FUNC, 1}, {"TransactionCompleted", 3, INVOKE_FUNC, 4}});
  events->Release();
}

TEST_F(TypeLibrary, CoclassListsItsFourInterfaces) {
  ITypeInfo* coclass = type(CLSID_ProcessDriver);
  ASSERT_NE(coclass, nullptr);
  struct Row {
    const char* name;
    int flags;
  };
  const Row rows[] = {{"IProcessDriver", IMPLTYPEFLAG_FDEFAULT},
                      {"IDispatch", 0},
                      {"IProcessDriverEvent", IMPLTYPEFLAG_FSOURCE | IMPLTYPEFLAG_FDEFAULTVTABLE},
                      {"IProcessDriverEvent", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
  TYPEATTR* attributes = nullptr;
  ASSERT_HRESULT_SUCCEEDED(coclass->GetTypeAttr(&attributes));
  ASSERT_EQ(attributes->cImplTypes, 4);
  coclass->ReleaseTypeAttr(attributes);
  for (UINT i = 0; i < 4; ++i) {
    HREFTYPE reference = 0;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeOfImplType(i, &reference));
    ITypeInfo* implemented = nullptr;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeInfo(reference, &implemented));
    BSTR name = nullptr;
    implemented->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    EXPECT_EQ(text_of(name), rows[i].name) << i;
    int flags = -1;
    coclass->GetImplTypeFlags(i, &flags);
    EXPECT_EQ(flags, rows[i].flags) << i;
    implemented->Release();
  }
  coclass->Release();
}

}  // namespace
