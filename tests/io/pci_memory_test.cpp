// PCI selections and their configuration registers, and the twelve-entry mapping table
// IOAllocPhysicalMemory and PCIMapMemory share, over the simulated device.
#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "io/device_requests.h"
#include "io/hardware_stand_in.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

namespace req = io::request;

// A request's input as little-endian 32-bit words.
std::vector<std::uint8_t> words(std::initializer_list<std::uint32_t> values) {
  std::vector<std::uint8_t> bytes;
  for (std::uint32_t v : values) {
    bytes.resize(bytes.size() + 4);
    base::store_le32(bytes.data() + bytes.size() - 4, v);
  }
  return bytes;
}

std::uint32_t address_of(void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

struct pci_card : ::testing::Test {
  hardware_stand_in hw;
  void SetUp() override {
    hw.device.add_pci_device(0x10B5, 0x9050, 0, 3);
    hw.device.add_pci_device(0x10B5, 0x9054, 1, 4);
    hw.device.add_pci_device(0x10B5, 0x9050, 2, 5);
  }
};

TEST_F(pci_card, SelectionRecordsAreCutToTheCapacityAndEnumCounts) {
  const struct {
    const char* name;
    DWORD word1, word2, word3, capacity, returned;
  } rows[] = {
      {"vendor, room for two", 0x10B5, 0, 0, 2, 2},
      {"vendor and device", 0x10B5, 0x9050, 0, 8, 2},
      {"vendor, device and bus", 0x10B5, 0x9050, 3, 8, 1},
      {"no such vendor", 0x1234, 0, 0, 8, 0},
  };
  for (const auto& r : rows) {
    std::vector<std::uint8_t> buffer(68 * r.capacity + 68, 0xEE);
    DWORD capacity = r.capacity;
    HANDLE pci = PCIOpenEx(r.word1, r.word2, r.word3, &capacity, buffer.data());
    ASSERT_NE(pci, nullptr) << r.name;
    EXPECT_EQ(capacity, r.returned) << r.name;
    const auto sent = hw.device.requests_with(req::pci_open_selection).back();
    EXPECT_EQ(sent.out_size, 68 * r.capacity) << r.name;
    EXPECT_EQ(sent.input, words({r.word1, r.word2, r.word3, 0})) << r.name;
    for (DWORD i = 0; i < capacity; ++i) EXPECT_EQ(base::load_le16(&buffer[68 * i]), r.word1) << r.name;
    EXPECT_EQ(buffer[68 * r.capacity], 0xEE) << r.name << ": nothing beyond the capacity";
    EXPECT_TRUE(PCIClose(pci)) << r.name;
  }
  // Bad arguments fail without opening; a refused selection closes its handle.
  std::uint8_t buffer[68 * 2];
  DWORD capacity = 0;
  const int opens = hw.device.opens();
  EXPECT_EQ(PCIOpenEx(0x10B5, 0, 0, &capacity, buffer), nullptr);
  EXPECT_EQ(PCIOpenEx(0x10B5, 0, 0, nullptr, buffer), nullptr);
  capacity = 2;
  EXPECT_EQ(PCIOpen(0, &capacity, buffer), nullptr);
  EXPECT_EQ(hw.device.opens(), opens);
  hw.device.rejected = {req::pci_open_selection};
  EXPECT_EQ(PCIOpen(0x10B5, &capacity, buffer), nullptr);
  EXPECT_EQ(capacity, 0u);
  EXPECT_EQ(hw.device.opens(), opens + 1);
  EXPECT_EQ(hw.device.open_handles(), 0);
  hw.device.rejected.clear();

  EXPECT_EQ(PCIEnumDevice(0x10B5), 3);
  EXPECT_EQ(PCIEnumDeviceEx(0x10B5, 0x9054, 0), 1);
  EXPECT_EQ(PCIEnumDevice(0), -1);
  for (int i = 0; i < 40; ++i) hw.device.add_pci_device(0x1AF4, static_cast<std::uint16_t>(0x1000 + i), 0, 0);
  EXPECT_EQ(PCIEnumDevice(0x1AF4), 32);
  EXPECT_EQ(hw.device.open_handles(), 0);
  hw.device.present = false;
  EXPECT_EQ(PCIEnumDevice(0x10B5), -1);
}

TEST_F(pci_card, ConfigurationRegistersInEveryWidthAndClose) {
  std::uint8_t buffer[68];
  DWORD capacity = 1;
  HANDLE pci = PCIOpenEx(0x10B5, 0x9054, 0, &capacity, buffer);
  ASSERT_NE(pci, nullptr);
  BYTE b = 0;
  WORD w = 0;
  DWORD d = 0;
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
  EXPECT_EQ(hw.device.requests_with(req::pci_write16).at(0).input,
            (std::vector<std::uint8_t>{0x04, 0, 0, 0, 0x47, 0x01}));
  // Beyond the 256 bytes of configuration space the device refuses: all ones.
  SetLastError(0);
  EXPECT_FALSE(PCIRead32(pci, 0xFE, &d));
  EXPECT_EQ(d, 0xFFFFFFFFu);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(PCIRead16(nullptr, 0, &w));
  EXPECT_EQ(w, 0xFFFF);
  EXPECT_FALSE(PCIRead8(pci, 0, nullptr));

  EXPECT_FALSE(PCIClose(nullptr));
  EXPECT_TRUE(PCIClose(pci));
  EXPECT_EQ(hw.device.requests_with(req::pci_close_selection).size(), 1u);
  EXPECT_FALSE(PCIClose(pci));  // closed already
  // A port handle has no selection: the request fails, the handle is closed all the same.
  HANDLE port = IOOpen();
  ASSERT_NE(port, nullptr);
  EXPECT_FALSE(PCIClose(port));
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST(physical_memory, RealModeAddressBoundsAndFree) {
  const struct {
    const char* name;
    DWORD segment_offset, length;
    std::uint32_t linear;  // 0: refused without a request
  } rows[] = {
      {"C800:0010 16 bytes", 0xC8000010, 16, 0xC8010},
      {"F000:FFF0 16 bytes reaches 1 MiB", 0xF000FFF0, 16, 0},
      {"F000:FFF0 15 bytes", 0xF000FFF0, 15, 0xFFFF0},
      {"segment 0", 0x00000400, 16, 0},
      {"length 0", 0xD0000000, 0, 0},
  };
  for (const auto& r : rows) {
    hardware_stand_in hw;
    void* mapped = IOAllocPhysicalMemory(r.segment_offset, r.length);
    const auto sent = hw.device.requests_with(req::map_physical);
    if (r.linear == 0) {
      EXPECT_EQ(mapped, nullptr) << r.name;
      EXPECT_EQ(hw.device.opens(), 0) << r.name;
      continue;
    }
    ASSERT_EQ(sent.size(), 1u) << r.name;
    EXPECT_EQ(address_of(mapped), hw.device.mapping_base + r.linear) << r.name;
    // bus type ISA, bus 0, the linear address, high part 0, memory space, the length
    EXPECT_EQ(sent[0].input, words({io::kBusIsa, 0, r.linear, 0, 0, r.length})) << r.name;
    EXPECT_EQ(hw.device.exclusive_opens(), 1) << r.name;
    EXPECT_TRUE(IOFreePhysicalMemory(mapped)) << r.name;
    EXPECT_EQ(hw.device.requests_with(req::unmap_physical).at(0).input, words({address_of(mapped)})) << r.name;
    EXPECT_EQ(hw.device.open_handles(), 0) << r.name;
    EXPECT_FALSE(IOFreePhysicalMemory(mapped)) << r.name << ": already freed";
  }
  hardware_stand_in hw;
  EXPECT_FALSE(IOFreePhysicalMemory(nullptr));
  // A refused unmap still frees the entry and closes the handle; a refused map closes it.
  void* mapped = IOAllocPhysicalMemory(0xD0000000, 0x1000);
  ASSERT_NE(mapped, nullptr);
  hw.device.rejected = {req::unmap_physical, req::map_physical};
  EXPECT_TRUE(IOFreePhysicalMemory(mapped));
  EXPECT_EQ(hw.device.open_handles(), 0);
  SetLastError(0);
  EXPECT_EQ(IOAllocPhysicalMemory(0xD0000000, 0x1000), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidFunction);
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST(physical_memory, DirectModeSendsTheDataSegmentAndNoPciMapping) {
  hardware_stand_in hw(simulated_platform::windows9x);
  void* mapped = IOAllocPhysicalMemory(0xD0000000, 0x1000);
  ASSERT_NE(mapped, nullptr);
  const auto map = hw.device.requests_with(req::map_physical);
  ASSERT_EQ(map.size(), 1u);
  std::uint16_t ds;
  __asm__("mov %%ds, %0" : "=r"(ds));
  EXPECT_EQ(base::load_le32(map[0].input.data() + 4), ds);
  ASSERT_TRUE(IOFreePhysicalMemory(mapped));
  const auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(map[0].device));
  EXPECT_EQ(hw.device.requests_with(req::unmap_physical).at(0).input,
            words({handle, address_of(mapped), 0xD0000u, 0x1000u}));
  // PCI memory is mapped only in the NT family.
  hw.device.add_pci_device(0x10B5, 0x9050, 0, 7);
  std::uint8_t records[68];
  DWORD capacity = 1;
  HANDLE pci = PCIOpen(0x10B5, &capacity, records);
  ASSERT_NE(pci, nullptr);
  EXPECT_EQ(PCIMapMemory(pci, 0xFE000000, 0x1000), nullptr);
  EXPECT_TRUE(hw.device.requests_with(req::map_pci).empty());
  PCIClose(pci);
}

struct mapping_table : ::testing::Test {
  hardware_stand_in hw;
  HANDLE pci = nullptr;
  std::uint8_t records[4 * 68] = {};
  void SetUp() override {
    hw.device.add_pci_device(0x10B5, 0x9050, 0, 7);
    DWORD capacity = 4;
    pci = PCIOpen(0x10B5, &capacity, records);
    ASSERT_NE(pci, nullptr);
  }
  void TearDown() override { PCIClose(pci); }
};

TEST_F(mapping_table, PciMappingUsesAnOwnHandleAndThePciHandlesRequest) {
  void* mapped = PCIMapMemory(pci, 0xFE001000, 0x2000);
  ASSERT_NE(mapped, nullptr);
  EXPECT_EQ(address_of(mapped), hw.device.mapping_base + 0xFE001000u);
  const auto sent = hw.device.requests_with(req::map_pci);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].device, pci);
  EXPECT_EQ(sent[0].out_size, 8u);
  EXPECT_EQ(sent[0].input, words({io::kBusPci, 0, 0xFE001000u, 0, 0, 0x2000u}));
  EXPECT_EQ(hw.device.open_handles(), 2);
  EXPECT_EQ(hw.device.exclusive_opens(), 1);
  EXPECT_FALSE(PCIUnmapMemory(nullptr, mapped));
  EXPECT_FALSE(PCIUnmapMemory(pci, reinterpret_cast<void*>(0x1234)));
  ASSERT_TRUE(PCIUnmapMemory(pci, mapped));
  const auto unmap = hw.device.requests_with(req::unmap_pci);
  ASSERT_EQ(unmap.size(), 1u);
  EXPECT_EQ(unmap[0].device, pci);
  EXPECT_EQ(unmap[0].input, words({address_of(mapped)}));
  EXPECT_EQ(hw.device.open_handles(), 1);
  EXPECT_FALSE(PCIUnmapMemory(pci, mapped));
  hw.device.rejected = {req::map_pci};  // a refused mapping closes its extra handle
  EXPECT_EQ(PCIMapMemory(pci, 0xFE000000, 0x1000), nullptr);
  EXPECT_EQ(hw.device.open_handles(), 1);
}

TEST_F(mapping_table, ThirteenthMappingFailsWhileTwelveAreHeld) {
  std::vector<void*> held;
  for (int i = 0; i < 6; ++i) held.push_back(IOAllocPhysicalMemory(0xD0000000 + 0x100 * i, 0x100));
  for (int i = 0; i < 6; ++i) held.push_back(PCIMapMemory(pci, 0xFE000000 + 0x1000 * i, 0x1000));
  for (void* p : held) ASSERT_NE(p, nullptr);
  const int opens = hw.device.opens();
  EXPECT_EQ(IOAllocPhysicalMemory(0xD8000000, 0x100), nullptr);
  EXPECT_EQ(PCIMapMemory(pci, 0xFE100000, 0x1000), nullptr);
  EXPECT_EQ(hw.device.opens(), opens) << "a full table fails before opening anything";
  EXPECT_TRUE(PCIUnmapMemory(pci, held[7]));
  held[7] = IOAllocPhysicalMemory(0xD8000000, 0x100);
  EXPECT_NE(held[7], nullptr);
  EXPECT_EQ(IOAllocPhysicalMemory(0xD9000000, 0x100), nullptr);
  for (int i = 0; i < 12; ++i) {
    EXPECT_TRUE(i < 6 || i == 7 ? IOFreePhysicalMemory(held[i]) : PCIUnmapMemory(pci, held[i])) << i;
  }
  EXPECT_EQ(hw.device.open_handles(), 1);  // only the PCI selection remains
}

}  // namespace
}  // namespace tambre::test
