// IProcessDriver's properties through the vtable, with a stand-in for the host's query
// function, and the channel maps.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "codriver/codriver_test_support.h"
#include "tambre32/automation.h"

namespace {

using tambre::test::low_block;
using tambre::test::low_function;

// The host: an answer per code (missing: the query fails) and the calls it got.
struct FakeHost {
  std::map<int, long> answers;
  struct Call {
    int code;
    DWORD_PTR parameter;
    int size;
  };
  std::vector<Call> calls;
} fake_host;

int TAMBRE_STDCALL host_query(int code, DWORD_PTR parameter, int size, void* output) {
  fake_host.calls.push_back({code, parameter, size});
  auto it = fake_host.answers.find(code);
  if (it == fake_host.answers.end()) return 0;
  if (code == 2)
    std::strncpy(static_cast<char*>(output), "Anlage Nord", size);
  else
    *static_cast<long*>(output) = it->second;
  return 1;
}

// Installs (or, with 0, removes) the process-wide host query function through a record.
void install_host(CoDriver& driver, std::uint32_t function) {
  low_block record(256);
  tambre::test::put16(record.data(), 34, DRV_FLAG_HOST_QUERY);
  tambre::test::put32(record.data(), 46, function);
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
  const std::string dll_path(dll);
  EXPECT_EQ(text(&IProcessDriver::GetName), "ProcessDriver.Server");
  EXPECT_EQ(text(&IProcessDriver::GetFilePath), dll_path);
  EXPECT_EQ(text(&IProcessDriver::GetFileName), "tambre32.dll");
  EXPECT_EQ(text(&IProcessDriver::GetInstallDir), dll_path.substr(0, dll_path.rfind('\\')));
  EXPECT_EQ(text(&IProcessDriver::GetAppFilePath), exe);
  EXPECT_EQ(text(&IProcessDriver::GetAppFileName), "codriver_dll_test.exe");
  EXPECT_TRUE(fake_host.calls.empty());
}

TEST_F(Properties, HostAnswersQueryFailuresAndNoHost) {
  VARIANT_BOOL on = 7;
  fake_host.answers = {{15, 5}};
  EXPECT_EQ(driver_->GetControl(&on), S_OK);
  EXPECT_EQ(on, VARIANT_TRUE);
  ASSERT_EQ(fake_host.calls.size(), 1u);
  EXPECT_EQ(fake_host.calls[0].parameter, 0u);
  EXPECT_EQ(fake_host.calls[0].size, 4);
  fake_host.answers = {{17, 0}, {2, 1}, {14, 250}};
  EXPECT_EQ(driver_->GetMeasurement(&on), S_OK);
  EXPECT_EQ(on, VARIANT_FALSE);
  EXPECT_EQ(driver_->GetControl(&on), S_OK);  // the query fails: off, still success
  EXPECT_EQ(on, VARIANT_FALSE);
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

  DriverState state = DrvStatRun;
  EXPECT_EQ(driver_->GetDriverState(&state), S_OK);  // the library's own module: no query
  EXPECT_EQ(state, DrvStatUndefined);
  driver_->SetInstance(GetModuleHandleA(nullptr));
  fake_host.answers = {{12, DrvStatRun}};
  EXPECT_EQ(driver_->GetDriverState(&state), S_OK);
  EXPECT_EQ(state, DrvStatRun);
  EXPECT_EQ(fake_host.calls.back().parameter, reinterpret_cast<DWORD_PTR>(GetModuleHandleA(nullptr)));
  fake_host.answers = {{12, 0}};
  EXPECT_EQ(driver_->GetDriverState(&state), E_UNEXPECTED);
  EXPECT_EQ(state, DrvStatUndefined);

  install_host(*driver_, 0);
  EXPECT_EQ(driver_->GetControl(&on), E_UNEXPECTED);
  EXPECT_EQ(driver_->GetCycleTime(&cycle), E_UNEXPECTED);
  EXPECT_EQ(driver_->GetDriverState(&state), E_UNEXPECTED);
}

TEST_F(Properties, ChannelCountsAndBasesArePublishedByRunFlag16) {
  driver_->m_channelCounts[ctAIn] = 8;
  driver_->m_channelBases[ctAIn] = 100;
  driver_->m_channelCounts[ctDIn] = 4;
  driver_->m_channelBases[ctDOut] = 5;
  struct Row {
    DWORD run_flags;
    long type;
    HRESULT result;
    long count, base;
  };
  const Row rows[] = {{DRV_RUN_CHANNEL_COUNTS, ctAIn, S_OK, 8, 101},
                      {DRV_RUN_TYPE_INFO, ctAIn, S_OK, 0, 0},
                      {DRV_RUN_CHANNEL_COUNTS, ctDIn, S_OK, 4, 1},
                      {DRV_RUN_CHANNEL_COUNTS, ctDOut, S_OK, 0, 0},
                      {DRV_RUN_CHANNEL_COUNTS, 12, DISP_E_BADINDEX, -5, -5}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    driver_->m_runFlags = row.run_flags;
    long count = -5, base = -5;
    EXPECT_EQ(driver_->GetChannelCount(static_cast<ChannelType>(row.type), &count), row.result);
    EXPECT_EQ(driver_->GetChannelBase(static_cast<ChannelType>(row.type), &base), row.result);
    EXPECT_EQ(count, row.count);
    EXPECT_EQ(base, row.base);
  }
  using Method = HRESULT(STDMETHODCALLTYPE*)(IProcessDriver*);
  IProcessDriver* driver = driver_;
  void** vtable = *reinterpret_cast<void***>(driver);
  for (int slot = 22; slot <= 51; ++slot) EXPECT_EQ(reinterpret_cast<Method>(vtable[slot])(driver), E_NOTIMPL) << slot;
}

TEST_F(Properties, DispatchNeedsTheTypeInformation) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(driver_->QueryInterface(IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
  EXPECT_EQ(driver_->GetTypeInfo(0, 0, &info), E_UNEXPECTED);
  EXPECT_EQ(info, nullptr);

  driver_->LoadTypeInfo();  // from codriver.tlb beside the module
  ASSERT_NE(driver_->m_typeInfo, nullptr);
  EXPECT_EQ(driver_->QueryInterface(IID_IDispatch, &out), S_OK);
  static_cast<IUnknown*>(out)->Release();
  EXPECT_EQ(driver_->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
  OLECHAR name_text[] = L"CycleTime";
  LPOLESTR names[] = {name_text};
  DISPID id = 0;
  EXPECT_EQ(driver_->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  EXPECT_EQ(id, 0x6002000E);  // the type library's numbering, which scripts rely on
  fake_host.answers = {{14, 125}};
  DISPPARAMS none = {};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(driver_->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(V_VT(&result), VT_I4);
  EXPECT_EQ(V_I4(&result), 125);
  EXPECT_EQ(driver_->UnloadTypeInfo(driver_->m_typeInfo), 0);
  EXPECT_EQ(driver_->m_typeInfo, nullptr);
}

long address_of(VARIANT& item) {
  long address = 0;
  static_cast<ChannelMap*>(V_DISPATCH(&item))->GetChannelAddress(&address);
  VariantClear(&item);
  return address;
}

TEST(ChannelMaps, CollectionItemsNamesAndEnumerator) {
  CoDriver* driver = new CoDriver;
  low_block names(4096);
  tambre::test::fill_names(names.data(), 3, DRV_SHORT_NAME_SIZE, "Kurz");
  tambre::test::fill_names(names.data() + 512, 3, DRV_LONG_NAME_SIZE, "Langer Name ");
  driver->m_channelCounts[ctAIn] = 3;
  driver->m_channelCounts[ctDOut] = 1;
  driver->m_shortNames[ctAIn] = reinterpret_cast<char*>(names.data());
  ChannelMapCollection* maps = nullptr;
  ASSERT_EQ(driver->GetChannelMaps(ctAIn, &maps), S_OK);
  auto item_name = [&](ChannelMapCollection* from, long index) {
    ChannelMap* map = nullptr;
    EXPECT_EQ(from->GetItem(index, &map), S_OK);
    BSTR name = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(map->GetName(&name), S_OK);
    map->Release();
    return name ? tambre::test::text_of(name) : "<none>";
  };
  long count = 0;
  EXPECT_EQ(maps->GetCount(&count), S_OK);
  EXPECT_EQ(count, 3);
  ChannelMap* map = reinterpret_cast<ChannelMap*>(1);
  EXPECT_EQ(maps->GetItem(0, &map), DISP_E_BADINDEX);
  EXPECT_EQ(map, nullptr);
  EXPECT_EQ(maps->GetItem(4, &map), DISP_E_BADINDEX);
  EXPECT_EQ(item_name(maps, 3), "Kurz3");
  driver->m_longNames[ctAIn] = reinterpret_cast<char*>(names.data() + 512);  // read when asked: long wins
  EXPECT_EQ(item_name(maps, 2), "Langer Name 2");

  ASSERT_EQ(maps->GetItem(2, &map), S_OK);
  ChannelType type = ctMOut;
  VARIANT_BOOL activated = VARIANT_TRUE;
  EXPECT_EQ(map->GetChannelType(&type), S_OK);
  EXPECT_EQ(type, ctAIn);
  EXPECT_EQ(map->GetActivated(&activated), S_OK);
  EXPECT_EQ(activated, VARIANT_FALSE);
  EXPECT_EQ(map->PutActivated(VARIANT_TRUE), E_NOTIMPL);
  map->Release();

  ChannelMapCollection* douts = nullptr;  // a type without tables has nameless maps
  ASSERT_EQ(driver->GetChannelMaps(ctDOut, &douts), S_OK);
  EXPECT_EQ(item_name(douts, 1), "<none>");
  douts->Release();
  EXPECT_EQ(driver->GetChannelMaps(static_cast<ChannelType>(12), &douts), DISP_E_BADINDEX);

  IUnknown* unknown = nullptr;
  ASSERT_EQ(maps->_NewEnumItem(&unknown), S_OK);
  IEnumVARIANT* items = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)), S_OK);
  unknown->Release();
  EXPECT_EQ(items->Skip(3), S_FALSE);  // exactly to the end fails and stays
  VARIANT fetched_items[5];
  ULONG fetched = 99;
  EXPECT_EQ(items->Next(5, fetched_items, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 3u);
  for (ULONG i = 0; i < 3; ++i) EXPECT_EQ(address_of(fetched_items[i]), static_cast<long>(i + 1));
  EXPECT_EQ(V_VT(&fetched_items[3]), VT_EMPTY);
  EXPECT_EQ(items->Reset(), S_OK);
  EXPECT_EQ(items->Skip(2), S_OK);
  EXPECT_EQ(items->Next(1, fetched_items, nullptr), S_OK);
  EXPECT_EQ(address_of(fetched_items[0]), 3);
  IEnumVARIANT* clone = nullptr;
  EXPECT_EQ(items->Clone(&clone), E_NOTIMPL);
  EXPECT_EQ(items->Release(), 0u);
  maps->Release();
  driver->m_shortNames[ctAIn] = driver->m_longNames[ctAIn] = nullptr;
  CoDriver::Destroy(driver);
}

}  // namespace
