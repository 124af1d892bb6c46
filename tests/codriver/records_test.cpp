// A driver object's defaults and setters, what it takes over from the host's records, and
// IProcessDriver's properties through the vtable with a stand-in for the host's query function.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "codriver/codriver_test_support.h"
#include "tambre32/automation.h"

namespace {

using tambre::test::low_block;
using tambre::test::low_function;

TEST(CoDriverDefaults, FreshObjectFromTheGlobalHeapAndSetters) {
  CoDriver* driver = new CoDriver;
  EXPECT_EQ(GlobalFlags(GlobalHandle(driver)) & GMEM_LOCKCOUNT, 1u);
  const std::string fits(47, 'n'), too_long(48, 'x');
  EXPECT_TRUE(driver->SetClassName(fits.c_str()));
  EXPECT_FALSE(driver->SetClassName(too_long.c_str()));
  EXPECT_EQ(driver->m_className, fits);
  driver->SetInstance(nullptr);
  EXPECT_EQ(driver->m_instance, GetModuleHandleA("tambre32.dll"));
  EXPECT_EQ(CoDriver::Destroy(driver), nullptr);

  const GUID other = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
  driver = CoDriver::Create(GetModuleHandleA(nullptr), 0x0203, 17, too_long.c_str(), "modbus.tlb", nullptr, other,
                            IID_IProcessDriver, IID_IProcessDriverEvent, LIBID_TambreTypes);
  ASSERT_NE(driver, nullptr);
  EXPECT_STREQ(driver->m_className, "ProcessDriver.Server");  // refused names keep the defaults
  EXPECT_STREQ(driver->m_typeLibName, "modbus.tlb");
  EXPECT_EQ(driver->m_classId, other);
  CoDriver::Destroy(driver);
}

// A host record with its name tables, all below 4 GiB; table(i) holds names "<prefix>1"...
template <typename Record>
struct HostRecord {
  low_block memory{65536};
  Record* record = reinterpret_cast<Record*>(memory.data());
  char* table(int index) { return reinterpret_cast<char*>(memory.data() + 1024 + index * 1024); }
  std::uint32_t at(int index) { return memory.address_of(table(index)); }

  explicit HostRecord(int flags) {
    for (int i = 0; i < 4; ++i) {
      record->counts[i] = static_cast<std::int16_t>(8 >> i);
      record->bases[i] = static_cast<std::int16_t>(10 * i);
      record->shortNames[i] = at(i);
    }
    record->projectId = 7;
    record->flags = static_cast<std::int16_t>(flags);
    record->secondAIn = at(4);
    record->secondAOut = at(5);
    record->mIn = {3, 40, 0};
    record->mOut = {3, 50, 0};
    record->tIn = {2, 60, 0};
    record->tOut = {1, 70, 0};
    tambre::test::fill_names(memory.data() + 1024 + 6 * 1024, 3, DRV_SHORT_NAME_SIZE, "MinShort");
    tambre::test::fill_names(memory.data() + 1024 + 7 * 1024, 3, DRV_SHORT_NAME_SIZE, "MoutShort");
    record->shortMIn = at(6);
    record->shortMOut = at(7);
    record->shortTIn = at(8);
    record->shortTOut = at(9);
    for (int i = 0; i < 6; ++i) record->longNames[i] = at(10 + i);
    tambre::test::fill_names(memory.data() + 1024 + 16 * 1024, 3, DRV_LONG_NAME_SIZE, "MinLongName");
    tambre::test::fill_names(memory.data() + 1024 + 17 * 1024, 3, DRV_LONG_NAME_SIZE, "MoutLongName");
    record->longMIn = at(16);
    record->longMOut = at(17);
  }
};

bool forward(CoDriver& driver, const DrvInitStruct* record) { return driver.ForwardInit(record); }
bool forward(CoDriver& driver, const DrvDialogStruct* record) { return driver.ForwardDialogEx(record); }

char* const kEarlier = reinterpret_cast<char*>(0x1234);  // a table pointer from before

template <typename Record>
void check_flags(const char* name) {
  for (int flags : {0, DRV_FLAG_EXTENDED_BLOCK, DRV_FLAG_T_NAMES, DRV_FLAG_LONG_NAMES, 0x04 | 0x08 | 0x20 | 0x40}) {
    SCOPED_TRACE(std::string(name) + " flags " + std::to_string(flags));
    HostRecord<Record> earlier(DRV_FLAG_EXTENDED_BLOCK | DRV_FLAG_LONG_NAMES), host(flags);
    CoDriver* driver = new CoDriver;
    for (int table : {6, 7, 16, 17}) std::memset(earlier.table(table), 'o', 64);
    forward(*driver, earlier.record);  // copies of M tables a record forwarded again replaces or drops
    // What a driver holds before: values that must survive where the flags leave them alone.
    for (int type = 0; type < TAMBRE_CHANNEL_TYPES; ++type) {
      driver->m_channelCounts[type] = 99;
      driver->m_channelBases[type] = 98;
      if (type == ctMIn || type == ctMOut) continue;
      driver->m_shortNames[type] = driver->m_longNames[type] = kEarlier;
    }
    EXPECT_TRUE(forward(*driver, host.record));

    EXPECT_EQ(driver->m_projectId, 7);
    const ChannelType basic[4] = {ctAIn, ctAOut, ctDIn, ctDOut};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(driver->m_channelCounts[basic[i]], 8 >> i);
      EXPECT_EQ(driver->m_channelBases[basic[i]], 10 * i);
      EXPECT_EQ(driver->m_shortNames[basic[i]], host.table(i));
    }
    EXPECT_EQ(driver->m_secondTables[ctAIn], host.table(4));
    EXPECT_EQ(driver->m_secondTables[ctAOut], host.table(5));

    const bool extended = flags & 4, t_names = flags & 0x20, long_names = flags & 0x40;
    EXPECT_EQ(driver->m_channelCounts[ctMIn], extended ? 3 : 99);
    EXPECT_EQ(driver->m_channelBases[ctMOut], extended ? 50 : 98);
    EXPECT_EQ(driver->m_channelCounts[ctTIn], extended ? 2 : 99);
    EXPECT_EQ(driver->m_channelBases[ctTOut], extended ? 70 : 98);
    char* expected_t = t_names ? host.table(8) : (extended ? nullptr : kEarlier);
    EXPECT_EQ(driver->m_shortNames[ctTIn], expected_t);
    EXPECT_EQ(driver->m_shortNames[ctTOut], t_names ? host.table(9) : expected_t);
    // The M tables are copies, not the host's.
    ASSERT_EQ(driver->m_shortNames[ctMOut] != nullptr, extended);
    if (extended) {
      EXPECT_NE(driver->m_shortNames[ctMOut], host.table(7));
      EXPECT_EQ(std::memcmp(driver->m_shortNames[ctMOut], host.table(7), 3 * DRV_SHORT_NAME_SIZE), 0);
      EXPECT_STREQ(driver->m_shortNames[ctMIn] + DRV_SHORT_NAME_SIZE, "MinShort2");
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(driver->m_longNames[basic[i]], long_names ? host.table(10 + i) : kEarlier);
    EXPECT_EQ(driver->m_longNames[ctTOut], long_names ? host.table(15) : kEarlier);
    ASSERT_EQ(driver->m_longNames[ctMIn] != nullptr, long_names);
    if (long_names) {
      EXPECT_NE(driver->m_longNames[ctMIn], host.table(16));
      EXPECT_EQ(std::memcmp(driver->m_longNames[ctMIn], host.table(16), 3 * DRV_LONG_NAME_SIZE), 0);
      EXPECT_STREQ(driver->m_longNames[ctMOut] + 2 * DRV_LONG_NAME_SIZE, "MoutLongName3");
    }
    for (int type = 0; type < TAMBRE_CHANNEL_TYPES; ++type) {
      if (driver->m_shortNames[type] == kEarlier) driver->m_shortNames[type] = nullptr;
      if (driver->m_longNames[type] == kEarlier) driver->m_longNames[type] = nullptr;
    }
    CoDriver::Destroy(driver);
  }
}

TEST(ForwardRecords, FlagsSelectWhatIsTakenOver) {
  check_flags<DrvInitStruct>("init");
  check_flags<DrvDialogStruct>("dialog");
}

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
  DrvInitStruct record{};
  record.flags = DRV_FLAG_HOST_QUERY;
  record.hostQuery = function;
  driver.ForwardInit(&record);
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
  low_function host_function_{reinterpret_cast<void*>(&host_query)};
  CoDriver* driver_ = nullptr;
};

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
  BSTR name = nullptr;
  EXPECT_EQ(driver_->GetProjectName(&name), S_OK);
  EXPECT_EQ(tambre::test::text_of(name), "Anlage Nord");
  EXPECT_EQ(fake_host.calls.back().size, 80);
  long cycle = 0;
  EXPECT_EQ(driver_->GetCycleTime(&cycle), S_OK);
  EXPECT_EQ(cycle, 250);

  fake_host.answers.clear();
  name = reinterpret_cast<BSTR>(1);
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

}  // namespace
