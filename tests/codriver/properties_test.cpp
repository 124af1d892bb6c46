// The properties of IProcessDriver through the vtable, with a stand-in for the host's
// query function (the host is outside the library), and the channel maps.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "codriver/codriver_test_support.h"
#include "tambre32/automation.h"

namespace {

using tambre::test::low_block;
using tambre::test::low_function;
using tambre::test::put16;
using tambre::test::put32;

// The host's side: answers per code, and the calls it received.
struct FakeHost {
  std::map<int, long> answers;  // missing code: the query fails
  std::string project_name = "Anlage Nord";
  struct Call {
    int code;
    DWORD_PTR parameter;
    int size;
  };
  std::vector<Call> calls;
} fake_host;

int TAMBRE_STDCALL host_query(int code, DWORD_PTR parameter, int size, void* output) {
  fake_host.calls.push_back({code, parameter, size});
  if (code == 2) {
    if (!fake_host.answers.count(2)) return 0;
    std::strncpy(static_cast<char*>(output), fake_host.project_name.c_str(), size);
    return 1;
  }
  auto it = fake_host.answers.find(code);
  if (it == fake_host.answers.end()) return 0;
  *static_cast<long*>(output) = it->second;
  return 1;
}

// Installs (or, with 0, removes) the process-wide host query function through a record.
void install_host(CoDriver& driver, std::uint32_t function) {
  low_block record(256);
  put16(record.data(), 34, DRV_FLAG_HOST_QUERY);
  put32(record.data(), 46, function);
  put32(record.data(), 50, 0xB0B0);
  driver.ForwardInit(reinterpret_cast<const DrvInitStruct*>(record.data()));
}

class Properties : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_host = FakeHost{};
    driver_ = new CoDriver;
    driver_->AddRef();  // the driver's own reference; Destroy drops it
    install_host(*driver_, host_function_.address());
  }
  void TearDown() override {
    install_host(*driver_, 0);
    CoDriver::Destroy(driver_);
  }
  std::string text(HRESULT (STDMETHODCALLTYPE IProcessDriver::*property)(BSTR*)) {
    BSTR value = nullptr;
    EXPECT_EQ((driver_->*property)(&value), S_OK);
    return tambre::test::text_of(value);
  }
  low_function host_function_{reinterpret_cast<void*>(&host_query)};
  CoDriver* driver_ = nullptr;
};

TEST_F(Properties, IdentityFromTheModuleAndTheProcess) {
  char dll[MAX_PATH], exe[MAX_PATH];
  GetModuleFileNameA(GetModuleHandleA("tambre32.dll"), dll, MAX_PATH);
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::string dll_path(dll), exe_path(exe);
  EXPECT_EQ(text(&IProcessDriver::GetName), "ProcessDriver.Server");
  EXPECT_EQ(text(&IProcessDriver::GetFilePath), dll_path);
  EXPECT_EQ(text(&IProcessDriver::GetFileName), "tambre32.dll");
  EXPECT_EQ(text(&IProcessDriver::GetInstallDir), dll_path.substr(0, dll_path.rfind('\\')));
  EXPECT_EQ(text(&IProcessDriver::GetAppFilePath), exe_path);
  EXPECT_EQ(text(&IProcessDriver::GetAppFileName), "codriver_dll_test.exe");
  driver_->m_projectId = -3;
  long id = 0;
  EXPECT_EQ(driver_->GetProjectID(&id), S_OK);
  EXPECT_EQ(id, -3);
  EXPECT_TRUE(fake_host.calls.empty());
}

TEST_F(Properties, SwitchesAskTheHost) {
  struct Row {
    const char* name;
    HRESULT (STDMETHODCALLTYPE IProcessDriver::*property)(VARIANT_BOOL*);
    int code;
  };
  const Row rows[] = {{"Control", &IProcessDriver::GetControl, 15},
                      {"Measurement", &IProcessDriver::GetMeasurement, 17}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    VARIANT_BOOL on = 7;
    fake_host.answers = {{row.code, 5}};
    EXPECT_EQ((driver_->*row.property)(&on), S_OK);
    EXPECT_EQ(on, VARIANT_TRUE);
    ASSERT_FALSE(fake_host.calls.empty());
    EXPECT_EQ(fake_host.calls.back().code, row.code);
    EXPECT_EQ(fake_host.calls.back().parameter, 0u);
    EXPECT_EQ(fake_host.calls.back().size, 4);
    fake_host.answers = {{row.code, 0}};
    EXPECT_EQ((driver_->*row.property)(&on), S_OK);
    EXPECT_EQ(on, VARIANT_FALSE);
    fake_host.answers.clear();  // the query fails: off, still success
    on = 7;
    EXPECT_EQ((driver_->*row.property)(&on), S_OK);
    EXPECT_EQ(on, VARIANT_FALSE);
    install_host(*driver_, 0);
    EXPECT_EQ((driver_->*row.property)(&on), E_UNEXPECTED);
    install_host(*driver_, host_function_.address());
  }
}

TEST_F(Properties, ProjectNameAndCycleTime) {
  fake_host.answers = {{2, 1}, {14, 250}};
  EXPECT_EQ(text(&IProcessDriver::GetProjectName), "Anlage Nord");
  EXPECT_EQ(fake_host.calls.back().size, 80);
  long cycle = 0;
  EXPECT_EQ(driver_->GetCycleTime(&cycle), S_OK);
  EXPECT_EQ(cycle, 250);

  fake_host.answers.clear();
  BSTR name = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(driver_->GetProjectName(&name), E_UNEXPECTED);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(driver_->GetCycleTime(&cycle), E_UNEXPECTED);
  EXPECT_EQ(cycle, -1);

  install_host(*driver_, 0);
  cycle = 0;
  EXPECT_EQ(driver_->GetCycleTime(&cycle), E_UNEXPECTED);
  EXPECT_EQ(cycle, -1);
  EXPECT_EQ(driver_->GetProjectName(&name), E_UNEXPECTED);
}

TEST_F(Properties, DriverStateAsksTheHostAboutTheDriversModule) {
  DriverState state = DrvStatRun;
  EXPECT_EQ(driver_->GetDriverState(&state), S_OK);  // the library's own module
  EXPECT_EQ(state, DrvStatUndefined);
  EXPECT_TRUE(fake_host.calls.empty());

  HMODULE driver_module = GetModuleHandleA(nullptr);
  driver_->SetInstance(driver_module);
  fake_host.answers = {{12, DrvStatRun}};
  EXPECT_EQ(driver_->GetDriverState(&state), S_OK);
  EXPECT_EQ(state, DrvStatRun);
  EXPECT_EQ(fake_host.calls.back().parameter, reinterpret_cast<DWORD_PTR>(driver_module));
  fake_host.answers = {{12, 0}};
  EXPECT_EQ(driver_->GetDriverState(&state), E_UNEXPECTED);
  EXPECT_EQ(state, DrvStatUndefined);
  fake_host.answers.clear();
  state = DrvStatRun;
  EXPECT_EQ(driver_->GetDriverState(&state), E_UNEXPECTED);
  EXPECT_EQ(state, DrvStatUndefined);
  install_host(*driver_, 0);
  EXPECT_EQ(driver_->GetDriverState(&state), E_UNEXPECTED);
}

TEST_F(Properties, ChannelCountsAndBasesArePublishedByRunFlag16) {
  driver_->m_channelCounts[ctAIn] = 8;
  driver_->m_channelBases[ctAIn] = 100;
  driver_->m_channelCounts[ctDIn] = 4;
  driver_->m_channelBases[ctDIn] = 0;
  driver_->m_channelCounts[ctDOut] = 0;
  driver_->m_channelBases[ctDOut] = 5;
  driver_->m_channelCounts[2] = 6;
  struct Row {
    const char* name;
    DWORD run_flags;
    long type;
    HRESULT result;
    long count, base;
  };
  const Row rows[] = {
      {"published", DRV_RUN_CHANNEL_COUNTS, ctAIn, S_OK, 8, 101},
      {"not published", DRV_RUN_TYPE_INFO, ctAIn, S_OK, 0, 0},
      {"base 0 counts from 1", DRV_RUN_CHANNEL_COUNTS, ctDIn, S_OK, 4, 1},
      {"no channels, no base", DRV_RUN_CHANNEL_COUNTS, ctDOut, S_OK, 0, 0},
      {"unnamed type 2", DRV_RUN_CHANNEL_COUNTS, 2, S_OK, 6, 1},
      {"type 12", DRV_RUN_CHANNEL_COUNTS, 12, DISP_E_BADINDEX, -5, -5},
      {"type -1", DRV_RUN_CHANNEL_COUNTS, -1, DISP_E_BADINDEX, -5, -5},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    driver_->m_runFlags = row.run_flags;
    long count = -5, base = -5;
    EXPECT_EQ(driver_->GetChannelCount(static_cast<ChannelType>(row.type), &count), row.result);
    EXPECT_EQ(driver_->GetChannelBase(static_cast<ChannelType>(row.type), &base), row.result);
    EXPECT_EQ(count, row.count);
    EXPECT_EQ(base, row.base);
  }
  driver_->m_runFlags = 0;
}

TEST_F(Properties, ReservedMethodsAreNotImplemented) {
  using Method = HRESULT(STDMETHODCALLTYPE*)(IProcessDriver*);
  IProcessDriver* driver = driver_;
  void** vtable = *reinterpret_cast<void***>(driver);
  for (int slot = 22; slot <= 51; ++slot) {
    EXPECT_EQ(reinterpret_cast<Method>(vtable[slot])(driver), E_NOTIMPL) << slot;
  }
}

TEST_F(Properties, DispatchNeedsTheTypeInformation) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(driver_->QueryInterface(IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  UINT count = 0;
  EXPECT_EQ(driver_->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
  EXPECT_EQ(driver_->GetTypeInfo(0, 0, &info), E_UNEXPECTED);
  EXPECT_EQ(info, nullptr);
  OLECHAR name_text[] = L"CycleTime";
  LPOLESTR names[] = {name_text};
  DISPID id = 0;
  EXPECT_EQ(driver_->GetIDsOfNames(IID_NULL, names, 1, 0, &id), E_UNEXPECTED);

  driver_->LoadTypeInfo();  // from codriver.tlb beside the module
  ASSERT_NE(driver_->m_typeInfo, nullptr);
  EXPECT_EQ(driver_->QueryInterface(IID_IDispatch, &out), S_OK);
  static_cast<IUnknown*>(out)->Release();
  EXPECT_EQ(driver_->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
  EXPECT_EQ(driver_->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  EXPECT_EQ(id, 0x6002000E);
  fake_host.answers = {{14, 125}};
  DISPPARAMS none = {};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(driver_->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(V_VT(&result), VT_I4);
  EXPECT_EQ(V_I4(&result), 125);
  EXPECT_EQ(driver_->UnloadTypeInfo(driver_->m_typeInfo), 0);
  EXPECT_EQ(driver_->m_typeInfo, nullptr);
  EXPECT_EQ(driver_->UnloadTypeInfo(driver_->m_typeInfo), 0);
}

class ChannelMaps : public ::testing::Test {
 protected:
  void SetUp() override {
    driver_ = new CoDriver;
    tambre::test::fill_names(names_.data(), 3, DRV_SHORT_NAME_SIZE, "Kurz");
    tambre::test::fill_names(names_.data() + 512, 3, DRV_LONG_NAME_SIZE, "Langer Name ");
    driver_->m_channelCounts[ctAIn] = 3;
    driver_->m_shortNames[ctAIn] = reinterpret_cast<char*>(names_.data());
    ASSERT_EQ(driver_->GetChannelMaps(ctAIn, &maps_), S_OK);
  }
  void TearDown() override {
    if (maps_) maps_->Release();
    driver_->m_shortNames[ctAIn] = driver_->m_longNames[ctAIn] = nullptr;
    CoDriver::Destroy(driver_);
  }
  std::string item_name(long index) {
    ChannelMap* map = nullptr;
    EXPECT_EQ(maps_->GetItem(index, &map), S_OK);
    BSTR name = nullptr;
    EXPECT_EQ(map->GetName(&name), S_OK);
    map->Release();
    return tambre::test::text_of(name);
  }
  low_block names_{4096};
  CoDriver* driver_ = nullptr;
  ChannelMapCollection* maps_ = nullptr;
};

TEST_F(ChannelMaps, CollectionItemsAndNames) {
  long count = 0;
  ChannelType type = ctMOut;
  EXPECT_EQ(maps_->GetCount(&count), S_OK);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(maps_->GetType(&type), S_OK);
  EXPECT_EQ(type, ctAIn);
  ChannelMap* map = reinterpret_cast<ChannelMap*>(1);
  EXPECT_EQ(maps_->GetItem(0, &map), DISP_E_BADINDEX);
  EXPECT_EQ(map, nullptr);
  EXPECT_EQ(maps_->GetItem(4, &map), DISP_E_BADINDEX);
  EXPECT_EQ(item_name(1), "Kurz1");
  EXPECT_EQ(item_name(3), "Kurz3");
  // Names are read when asked: a long table given later wins.
  driver_->m_longNames[ctAIn] = reinterpret_cast<char*>(names_.data() + 512);
  EXPECT_EQ(item_name(2), "Langer Name 2");

  ASSERT_EQ(maps_->GetItem(2, &map), S_OK);
  long address = 0;
  VARIANT_BOOL activated = VARIANT_TRUE;
  BSTR mapping = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(map->GetChannelType(&type), S_OK);
  EXPECT_EQ(type, ctAIn);
  EXPECT_EQ(map->GetChannelAddress(&address), S_OK);
  EXPECT_EQ(address, 2);
  EXPECT_EQ(map->GetActivated(&activated), S_OK);
  EXPECT_EQ(activated, VARIANT_FALSE);
  EXPECT_EQ(map->PutActivated(VARIANT_TRUE), E_NOTIMPL);
  EXPECT_EQ(map->GetMapping(&mapping), S_OK);
  EXPECT_EQ(mapping, nullptr);
  EXPECT_EQ(map->PutMapping(nullptr), E_NOTIMPL);
  void* dispatch = nullptr;
  EXPECT_EQ(map->QueryInterface(IID_IDispatch, &dispatch), E_NOINTERFACE);  // run flag 2 not given
  map->Release();
}

TEST_F(ChannelMaps, ATypeWithoutTablesHasNamelessMaps) {
  ChannelMapCollection* douts = nullptr;
  driver_->m_channelCounts[ctDOut] = 1;
  ASSERT_EQ(driver_->GetChannelMaps(ctDOut, &douts), S_OK);
  ChannelMap* map = nullptr;
  ASSERT_EQ(douts->GetItem(1, &map), S_OK);
  BSTR name = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(map->GetName(&name), S_OK);
  EXPECT_EQ(name, nullptr);
  map->Release();
  douts->Release();
  EXPECT_EQ(driver_->GetChannelMaps(static_cast<ChannelType>(12), &douts), DISP_E_BADINDEX);
  EXPECT_EQ(douts, nullptr);
}

TEST_F(ChannelMaps, EnumeratorNextSkipResetClone) {
  IUnknown* unknown = nullptr;
  ASSERT_EQ(maps_->_NewEnumItem(&unknown), S_OK);
  IEnumVARIANT* items = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)), S_OK);
  unknown->Release();

  EXPECT_EQ(items->Skip(3), S_FALSE);  // exactly to the end fails and stays
  VARIANT fetched_items[5];
  ULONG fetched = 99;
  EXPECT_EQ(items->Next(5, fetched_items, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 3u);
  for (ULONG i = 0; i < 5; ++i) {
    if (i < 3) {
      ASSERT_EQ(V_VT(&fetched_items[i]), VT_DISPATCH);
      long address = 0;
      static_cast<ChannelMap*>(V_DISPATCH(&fetched_items[i]))->GetChannelAddress(&address);
      EXPECT_EQ(address, static_cast<long>(i + 1));
    } else {
      EXPECT_EQ(V_VT(&fetched_items[i]), VT_EMPTY);
    }
    VariantClear(&fetched_items[i]);
  }
  EXPECT_EQ(items->Reset(), S_OK);
  EXPECT_EQ(items->Skip(2), S_OK);
  EXPECT_EQ(items->Next(1, fetched_items, nullptr), S_OK);
  long address = 0;
  static_cast<ChannelMap*>(V_DISPATCH(&fetched_items[0]))->GetChannelAddress(&address);
  EXPECT_EQ(address, 3);
  VariantClear(&fetched_items[0]);
  IEnumVARIANT* clone = reinterpret_cast<IEnumVARIANT*>(1);
  EXPECT_EQ(items->Clone(&clone), E_NOTIMPL);
  EXPECT_EQ(items->Release(), 0u);
}

}  // namespace
