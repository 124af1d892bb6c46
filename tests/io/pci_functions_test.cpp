// PCI selections, their 68-byte records and configuration registers.
#include <gtest/gtest.h>

#include <cstring>

#include "base/little_endian.h"
#include "io/device_requests.h"
#include "io/hardware_stand_in.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

namespace req = io::request;

struct pci_functions : ::testing::Test {
  hardware_stand_in hw;
  void SetUp() override {
    hw.device.add_pci_device(0x10B5, 0x9050, 0, 3);
    hw.device.add_pci_device(0x10B5, 0x9054, 1, 4);
    hw.device.add_pci_device(0x10B5, 0x9050, 2, 5);
    hw.device.add_pci_device(0x8086, 0x1229, 0, 6);
  }
};

TEST_F(pci_functions, BadArgumentsFailWithoutOpeningAndARefusalClosesTheHandle) {
  std::uint8_t buffer[68 * 2];
  DWORD capacity = 0;
  EXPECT_EQ(PCIOpenEx(0x10B5, 0, 0, &capacity, buffer), nullptr);
  EXPECT_EQ(PCIOpenEx(0x10B5, 0, 0, nullptr, buffer), nullptr);
  capacity = 2;
  EXPECT_EQ(PCIOpenEx(0, 0x9050, 0, &capacity, buffer), nullptr);
  EXPECT_EQ(capacity, 2u);
  EXPECT_EQ(hw.device.opens(), 0);
  // A refused selection closes its handle.
  hw.device.rejected = {req::pci_open_selection};
  capacity = 1;
  EXPECT_EQ(PCIOpen(0x10B5, &capacity, buffer), nullptr);
  EXPECT_EQ(capacity, 0u);
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST_F(pci_functions, SelectionReturnsRecordsCutToTheCapacity) {
  struct row {
    const char* name;
    DWORD word1, word2, word3, capacity;
    DWORD returned;
    bool plain;  // PCIOpen: the extended form with words 2 and 3 zero
  };
  const row rows[] = {
      {"vendor, room for all", 0x10B5, 0, 0, 8, 3, false},   {"vendor, room for two", 0x10B5, 0, 0, 2, 2, false},
      {"vendor and device", 0x10B5, 0x9050, 0, 8, 2, false}, {"vendor, device and bus", 0x10B5, 0x9050, 3, 8, 1, false},
      {"no such vendor", 0x1234, 0, 0, 8, 0, false},         {"PCIOpen", 0x10B5, 0, 0, 4, 3, true},
  };
  for (const row& r : rows) {
    std::vector<std::uint8_t> buffer(68 * r.capacity + 68, 0xEE);
    DWORD capacity = r.capacity;
    HANDLE pci = r.plain ? PCIOpen(r.word1, &capacity, buffer.data())
                         : PCIOpenEx(r.word1, r.word2, r.word3, &capacity, buffer.data());
    ASSERT_NE(pci, nullptr) << r.name;
    EXPECT_EQ(capacity, r.returned) << r.name;
    const auto sent = hw.device.requests_with(req::pci_open_selection).back();
    EXPECT_EQ(sent.out_size, 68 * r.capacity) << r.name;
    ASSERT_EQ(sent.input.size(), 16u) << r.name;
    EXPECT_EQ(base::load_le32(&sent.input[0]), r.word1) << r.name;
    EXPECT_EQ(base::load_le32(&sent.input[4]), r.word2) << r.name;
    EXPECT_EQ(base::load_le32(&sent.input[8]), r.word3) << r.name;
    EXPECT_EQ(base::load_le32(&sent.input[12]), 0u) << r.name;
    for (DWORD i = 0; i < capacity; ++i) EXPECT_EQ(base::load_le16(&buffer[68 * i]), r.word1) << r.name;
    // Nothing is written beyond the capacity the caller gave.
    EXPECT_EQ(buffer[68 * r.capacity], 0xEE) << r.name;
    EXPECT_TRUE(PCIClose(pci)) << r.name;
  }
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST_F(pci_functions, EnumCountsOrReportsMinusOne) {
  EXPECT_EQ(PCIEnumDevice(0x10B5), 3);
  EXPECT_EQ(PCIEnumDeviceEx(0x10B5, 0x9054, 0), 1);
  EXPECT_EQ(PCIEnumDevice(0x1234), 0);
  EXPECT_EQ(PCIEnumDevice(0), -1);
  EXPECT_EQ(hw.device.open_handles(), 0);
  for (int i = 0; i < 40; ++i) hw.device.add_pci_device(0x1AF4, static_cast<std::uint16_t>(0x1000 + i), 0, 0);
  EXPECT_EQ(PCIEnumDevice(0x1AF4), 32);
  hw.device.present = false;
  EXPECT_EQ(PCIEnumDevice(0x10B5), -1);
}

TEST_F(pci_functions, ConfigurationRegistersReadAndWriteInEveryWidth) {
  std::uint8_t buffer[68];
  DWORD capacity = 1;
  HANDLE pci = PCIOpenEx(0x10B5, 0x9054, 0, &capacity, buffer);
  ASSERT_NE(pci, nullptr);
  BYTE b = 0;
  WORD w = 0;
  DWORD d = 0;
  EXPECT_TRUE(PCIRead16(pci, 0, &w));
  EXPECT_EQ(w, 0x10B5);
  EXPECT_TRUE(PCIRead32(pci, 0, &d));
  EXPECT_EQ(d, 0x905410B5u);
  EXPECT_TRUE(PCIWrite32(pci, 0x10, 0xFE000008));
  EXPECT_TRUE(PCIWrite16(pci, 0x04, 0x0147));
  EXPECT_TRUE(PCIWrite8(pci, 0x3C, 0x0B));
  EXPECT_TRUE(PCIRead8(pci, 0x13, &b));
  EXPECT_EQ(b, 0xFE);
  EXPECT_TRUE(PCIRead16(pci, 0x04, &w));
  EXPECT_EQ(w, 0x0147);
  EXPECT_TRUE(PCIRead8(pci, 0x3C, &b));
  EXPECT_EQ(b, 0x0B);
  const auto writes = hw.device.requests_with(req::pci_write16);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].input, (std::vector<std::uint8_t>{0x04, 0, 0, 0, 0x47, 0x01}));
  EXPECT_EQ(hw.device.requests_with(req::pci_read8).back().out_size, 1u);
  // Beyond the 256 bytes of configuration space the device refuses: all ones.
  SetLastError(0);
  EXPECT_FALSE(PCIRead32(pci, 0xFE, &d));
  EXPECT_EQ(d, 0xFFFFFFFFu);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(PCIRead16(nullptr, 0, &w));
  EXPECT_EQ(w, 0xFFFF);
  EXPECT_FALSE(PCIRead8(pci, 0, nullptr));
  EXPECT_TRUE(PCIClose(pci));
}

TEST_F(pci_functions, CloseNeedsBothTheRequestAndTheHandle) {
  EXPECT_FALSE(PCIClose(nullptr));
  std::uint8_t buffer[68];
  DWORD capacity = 1;
  HANDLE pci = PCIOpen(0x10B5, &capacity, buffer);
  ASSERT_NE(pci, nullptr);
  EXPECT_TRUE(PCIClose(pci));
  EXPECT_EQ(hw.device.requests_with(req::pci_close_selection).size(), 1u);
  EXPECT_FALSE(PCIClose(pci));  // closed already: invalid handle
  // A port handle has no selection to close: the request fails, the handle is closed
  // all the same.
  HANDLE port = IOOpen();
  ASSERT_NE(port, nullptr);
  EXPECT_FALSE(PCIClose(port));
  EXPECT_EQ(hw.device.open_handles(), 0);
}

}  // namespace
}  // namespace tambre::test
