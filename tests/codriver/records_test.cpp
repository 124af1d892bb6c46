// A driver object's defaults and setters, and the host's records at the host's offsets.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "codriver/codriver_test_support.h"
#include "tambre32/automation.h"

namespace {

using tambre::test::low_block;
using tambre::test::put16;
using tambre::test::put32;

TEST(CoDriverDefaults, FreshObjectFromTheGlobalHeapAndSetters) {
  CoDriver* driver = new CoDriver;
  EXPECT_STREQ(driver->m_className, "ProcessDriver.Server");
  EXPECT_STREQ(driver->m_regFileName, "codriver.reg");
  EXPECT_EQ(driver->m_version, 0x0100);
  EXPECT_EQ(driver->m_instance, GetModuleHandleA("tambre32.dll"));
  EXPECT_STREQ(StrFromGUID(driver->m_classId), "{5AC12E60-2969-4A89-A110-F154350593C0}");
  EXPECT_EQ(driver->m_point.m_enumConn.m_owner, &driver->m_point);
  HGLOBAL handle = GlobalHandle(driver);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalFlags(handle) & GMEM_LOCKCOUNT, 1u);
  const std::string fits(47, 'n'), too_long(48, 'x');
  EXPECT_TRUE(driver->SetClassName(fits.c_str()));
  EXPECT_FALSE(driver->SetClassName(too_long.c_str()));
  EXPECT_EQ(driver->m_className, fits);
  EXPECT_FALSE(driver->SetTypeLibName(nullptr));
  EXPECT_STREQ(driver->m_typeLibName, "codriver.tlb");
  driver->SetInstance(GetModuleHandleA(nullptr));
  EXPECT_EQ(driver->m_instance, GetModuleHandleA(nullptr));
  driver->SetInstance(nullptr);
  EXPECT_EQ(driver->m_instance, GetModuleHandleA("tambre32.dll"));
  EXPECT_EQ(CoDriver::Destroy(driver), nullptr);

  const GUID other = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
  driver = CoDriver::Create(GetModuleHandleA(nullptr), 0x0203, 17, too_long.c_str(), "modbus.tlb", nullptr, other,
                            IID_IProcessDriver, IID_IProcessDriverEvent, LIBID_TambreTypes);
  ASSERT_NE(driver, nullptr);
  EXPECT_STREQ(driver->m_className, "ProcessDriver.Server");  // refused names keep the defaults
  EXPECT_STREQ(driver->m_typeLibName, "modbus.tlb");
  EXPECT_EQ(driver->m_buildNumber, 17);
  EXPECT_EQ(driver->m_classId, other);
  CoDriver::Destroy(driver);
}

// Offsets of the fields in the two records, as the host lays them out.
struct RecordOffsets {
  const char* name;
  std::size_t counts, project, flags, short_names, second_ain, second_aout, m_in, m_out, t_in, t_out;
  std::size_t short_min, short_mout, short_tin, short_tout, long_names, long_min, long_mout;
};
constexpr RecordOffsets kInit = {
    "DrvInitStruct", 0, 24, 34, 62, 78, 82, 86, 92, 98, 104, 110, 114, 118, 122, 166, 190, 194};
constexpr RecordOffsets kDialog = {
    "DrvDialogStruct", 0, 24, 30, 32, 48, 52, 60, 66, 72, 78, 84, 88, 92, 96, 152, 176, 180};

// A host record with its name tables, all below 4 GiB.
struct HostRecord {
  low_block memory{65536};
  unsigned char* record = memory.data();
  unsigned char* table(int index) { return memory.data() + 1024 + index * 1024; }
  std::uint32_t table_address(int index) { return memory.address_of(table(index)); }

  HostRecord(const RecordOffsets& at, int flags) {
    const int counts[4] = {8, 4, 3, 2}, bases[4] = {0, 10, 20, 30};
    for (int i = 0; i < 4; ++i) {
      put16(record, at.counts + 2 * i, counts[i]);
      put16(record, at.counts + 8 + 2 * i, bases[i]);
      tambre::test::fill_names(table(i), counts[i], DRV_SHORT_NAME_SIZE, "S");
      put32(record, at.short_names + 4 * i, table_address(i));
    }
    put16(record, at.project, 7);
    put16(record, at.flags, flags);
    put32(record, at.second_ain, table_address(4));
    put32(record, at.second_aout, table_address(5));
    const struct {
      std::size_t at;
      int count, base;
    } blocks[] = {{at.m_in, 3, 40}, {at.m_out, 3, 50}, {at.t_in, 2, 60}, {at.t_out, 1, 70}};
    for (const auto& block : blocks) {
      put16(record, block.at, block.count);
      put16(record, block.at + 2, block.base);
    }
    tambre::test::fill_names(table(6), 3, DRV_SHORT_NAME_SIZE, "MinShort");
    tambre::test::fill_names(table(7), 3, DRV_SHORT_NAME_SIZE, "MoutShort");
    put32(record, at.short_min, table_address(6));
    put32(record, at.short_mout, table_address(7));
    put32(record, at.short_tin, table_address(8));
    put32(record, at.short_tout, table_address(9));
    for (int i = 0; i < 6; ++i) put32(record, at.long_names + 4 * i, table_address(10 + i));
    tambre::test::fill_names(table(16), 3, DRV_LONG_NAME_SIZE, "MinLongName");
    tambre::test::fill_names(table(17), 3, DRV_LONG_NAME_SIZE, "MoutLongName");
    put32(record, at.long_min, table_address(16));
    put32(record, at.long_mout, table_address(17));
  }
  char* pointer(int index) { return reinterpret_cast<char*>(table(index)); }
};

void forward(CoDriver& driver, const RecordOffsets& at, HostRecord& host) {
  if (&at == &kInit) {
    EXPECT_TRUE(driver.ForwardInit(reinterpret_cast<const DrvInitStruct*>(host.record)));
  } else {
    EXPECT_TRUE(driver.ForwardDialogEx(reinterpret_cast<const DrvDialogStruct*>(host.record)));
  }
}

char* const kEarlier = reinterpret_cast<char*>(0x1234);  // a table pointer from before

// What a driver object holds before a record arrives: values that must survive where
// the record's flags leave them alone.
void preset(CoDriver& driver) {
  for (int type = 0; type < TAMBRE_CHANNEL_TYPES; ++type) {
    driver.m_channelCounts[type] = 99;
    driver.m_channelBases[type] = 98;
    driver.m_shortNames[type] = kEarlier;
    driver.m_longNames[type] = kEarlier;
  }
  for (ChannelType type : {ctMIn, ctMOut}) driver.m_shortNames[type] = driver.m_longNames[type] = nullptr;
}

struct FlagRow {
  const char* name;
  int flags;
};
const FlagRow kFlagRows[] = {
    {"none", 0}, {"extended block", 4}, {"T names", 0x20}, {"long names", 0x40}, {"all", 4 | 8 | 0x20 | 0x40}};

TEST(ForwardRecords, FlagsSelectWhatIsTakenOver) {
  for (const RecordOffsets* at : {&kInit, &kDialog}) {
    for (const auto& row : kFlagRows) {
      SCOPED_TRACE(std::string(at->name) + ": " + row.name);
      HostRecord host(*at, row.flags);
      CoDriver* driver = new CoDriver;
      preset(*driver);
      forward(*driver, *at, host);

      EXPECT_EQ(driver->m_projectId, 7);
      const ChannelType basic[4] = {ctAIn, ctAOut, ctDIn, ctDOut};
      const int counts[4] = {8, 4, 3, 2}, bases[4] = {0, 10, 20, 30};
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(driver->m_channelCounts[basic[i]], counts[i]);
        EXPECT_EQ(driver->m_channelBases[basic[i]], bases[i]);
        EXPECT_EQ(driver->m_shortNames[basic[i]], host.pointer(i));
      }
      EXPECT_EQ(driver->m_secondTables[ctAIn], host.pointer(4));
      EXPECT_EQ(driver->m_secondTables[ctAOut], host.pointer(5));

      const bool extended = row.flags & 4, t_names = row.flags & 0x20, long_names = row.flags & 0x40;
      EXPECT_EQ(driver->m_channelCounts[ctMIn], extended ? 3 : 99);
      EXPECT_EQ(driver->m_channelBases[ctMOut], extended ? 50 : 98);
      EXPECT_EQ(driver->m_channelCounts[ctTIn], extended ? 2 : 99);
      EXPECT_EQ(driver->m_channelBases[ctTOut], extended ? 70 : 98);
      char* expected_t = t_names ? host.pointer(8) : (extended ? nullptr : kEarlier);
      EXPECT_EQ(driver->m_shortNames[ctTIn], expected_t);
      EXPECT_EQ(driver->m_shortNames[ctTOut], t_names ? host.pointer(9) : expected_t);
      if (extended) {
        // Copies, not the host's tables.
        ASSERT_NE(driver->m_shortNames[ctMOut], nullptr);
        EXPECT_NE(driver->m_shortNames[ctMOut], host.pointer(7));
        EXPECT_EQ(std::memcmp(driver->m_shortNames[ctMOut], host.pointer(7), 3 * DRV_SHORT_NAME_SIZE), 0);
        EXPECT_STREQ(driver->m_shortNames[ctMIn] + DRV_SHORT_NAME_SIZE, "MinShort2");
      } else {
        EXPECT_EQ(driver->m_shortNames[ctMOut], nullptr);
        EXPECT_EQ(driver->m_shortNames[ctMIn], nullptr);
      }
      for (int i = 0; i < 4; ++i)
        EXPECT_EQ(driver->m_longNames[basic[i]], long_names ? host.pointer(10 + i) : kEarlier);
      EXPECT_EQ(driver->m_longNames[ctTOut], long_names ? host.pointer(15) : kEarlier);
      if (long_names) {
        ASSERT_NE(driver->m_longNames[ctMIn], nullptr);
        EXPECT_NE(driver->m_longNames[ctMIn], host.pointer(16));
        EXPECT_EQ(std::memcmp(driver->m_longNames[ctMIn], host.pointer(16), 3 * DRV_LONG_NAME_SIZE), 0);
        EXPECT_STREQ(driver->m_longNames[ctMOut] + 2 * DRV_LONG_NAME_SIZE, "MoutLongName3");
      } else {
        EXPECT_EQ(driver->m_longNames[ctMIn], nullptr);
      }
      // The host's tables stay the host's: nothing is read beyond them or written.
      EXPECT_STREQ(host.pointer(0), "S1");
      for (int type = 0; type < TAMBRE_CHANNEL_TYPES; ++type) {
        if (driver->m_shortNames[type] == kEarlier) driver->m_shortNames[type] = nullptr;
        if (driver->m_longNames[type] == kEarlier) driver->m_longNames[type] = nullptr;
      }
      CoDriver::Destroy(driver);
    }
  }
}

TEST(ForwardRecords, ForwardingAgainReplacesTheOwnedCopies) {
  HostRecord first(kInit, 4 | 0x40), second(kInit, 4 | 0x40);
  tambre::test::fill_names(second.table(7), 3, DRV_SHORT_NAME_SIZE, "Second");
  CoDriver* driver = new CoDriver;
  forward(*driver, kInit, first);
  EXPECT_STREQ(driver->m_shortNames[ctMOut], "MoutShort1");
  std::strcpy(first.pointer(7), "changed");  // the copy does not follow the host's table
  EXPECT_STREQ(driver->m_shortNames[ctMOut], "MoutShort1");
  forward(*driver, kInit, second);
  EXPECT_STREQ(driver->m_shortNames[ctMOut], "Second1");
  EXPECT_STREQ(driver->m_shortNames[ctMOut] + 2 * DRV_SHORT_NAME_SIZE, "Second3");
  HostRecord empty(kInit, 4 | 0x40);
  put32(empty.record, kInit.short_mout, 0);  // no table
  put16(empty.record, kInit.m_in, 0);        // no channels
  forward(*driver, kInit, empty);
  EXPECT_EQ(driver->m_shortNames[ctMOut], nullptr);
  EXPECT_EQ(driver->m_shortNames[ctMIn], nullptr);
  EXPECT_EQ(driver->m_longNames[ctMIn], nullptr);
  EXPECT_NE(driver->m_longNames[ctMOut], nullptr);
  HostRecord plain(kInit, 0);
  forward(*driver, kInit, plain);  // no flags: every owned copy goes
  EXPECT_EQ(driver->m_longNames[ctMOut], nullptr);
  CoDriver::Destroy(driver);
}

}  // namespace
