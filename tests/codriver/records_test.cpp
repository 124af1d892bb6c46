// A driver object's defaults and setters, and what it takes over from the host's records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "codriver/codriver_test_support.h"
#include "tambre32/automation.h"

namespace {

using tambre::test::low_block;

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

}  // namespace
