// IOAllocPhysicalMemory, PCIMapMemory and the twelve-entry mapping table they share.
#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "io/device_requests.h"
#include "io/hardware_stand_in.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

namespace req = io::request;

std::uint32_t field(const std::vector<std::uint8_t>& input, std::size_t offset) {
  return base::load_le32(input.data() + offset);
}

// A request's input as little-endian 32-bit words.
std::vector<std::uint8_t> words(std::initializer_list<std::uint32_t> values) {
  std::vector<std::uint8_t> bytes(4 * values.size());
  std::size_t at = 0;
  for (std::uint32_t v : values) base::store_le32(bytes.data() + 4 * at++, v);
  return bytes;
}

std::uint32_t address_of(void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

TEST(physical_memory, RealModeAddressBounds) {
  struct row {
    const char* name;
    DWORD segment_offset;
    DWORD length;
    std::uint32_t linear;  // 0: refused without a request
  };
  const row rows[] = {
      {"D000:0000 4 KiB", 0xD0000000, 0x1000, 0xD0000},
      {"C800:0010 16 bytes", 0xC8000010, 16, 0xC8010},
      {"F000:FFF0 16 bytes reaches 1 MiB", 0xF000FFF0, 16, 0},
      {"F000:FFF0 15 bytes", 0xF000FFF0, 15, 0xFFFF0},
      {"FFFF:FFFF beyond 1 MiB", 0xFFFFFFFF, 1, 0},
      {"segment 0", 0x00000400, 16, 0},
      {"length 0", 0xD0000000, 0, 0},
      {"length near 4 GiB", 0xD0000000, 0xFFFFFFFF, 0},
  };
  for (const row& r : rows) {
    hardware_stand_in hw;
    void* mapped = IOAllocPhysicalMemory(r.segment_offset, r.length);
    const auto sent = hw.device.requests_with(req::map_physical);
    if (r.linear == 0) {
      EXPECT_EQ(mapped, nullptr) << r.name;
      EXPECT_TRUE(sent.empty()) << r.name;
      EXPECT_EQ(hw.device.opens(), 0) << r.name;
      continue;
    }
    ASSERT_EQ(sent.size(), 1u) << r.name;
    EXPECT_EQ(address_of(mapped), hw.device.mapping_base + r.linear) << r.name;
    // bus type ISA, bus 0, the linear address, high part 0, memory space, the length
    EXPECT_EQ(sent[0].input, words({io::kBusIsa, 0, r.linear, 0, 0, r.length})) << r.name;
    EXPECT_EQ(hw.device.exclusive_opens(), 1) << r.name;
    EXPECT_TRUE(IOFreePhysicalMemory(mapped)) << r.name;
  }
}

TEST(physical_memory, FreeSendsTheAddressClosesTheHandleAndFreesTheEntry) {
  hardware_stand_in hw;
  void* mapped = IOAllocPhysicalMemory(0xD0000000, 0x1000);
  ASSERT_NE(mapped, nullptr);
  EXPECT_EQ(hw.device.open_handles(), 1);
  EXPECT_TRUE(IOFreePhysicalMemory(mapped));
  const auto sent = hw.device.requests_with(req::unmap_physical);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].input, words({address_of(mapped)}));
  EXPECT_EQ(hw.device.open_handles(), 0);
  EXPECT_TRUE(hw.device.mappings().empty());
  EXPECT_FALSE(IOFreePhysicalMemory(mapped));  // already freed
  EXPECT_FALSE(IOFreePhysicalMemory(nullptr));
  // A refused unmap still frees the entry and closes the handle.
  mapped = IOAllocPhysicalMemory(0xD0000000, 0x1000);
  ASSERT_NE(mapped, nullptr);
  hw.device.rejected = {req::unmap_physical};
  EXPECT_TRUE(IOFreePhysicalMemory(mapped));
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST(physical_memory, DirectModeSendsTheDataSegmentAndUnmapsWithTheWholeEntry) {
  hardware_stand_in hw(simulated_platform::windows9x);
  void* mapped = IOAllocPhysicalMemory(0xD0000000, 0x1000);
  ASSERT_NE(mapped, nullptr);
  const auto map = hw.device.requests_with(req::map_physical);
  ASSERT_EQ(map.size(), 1u);
  std::uint16_t ds;
  __asm__("mov %%ds, %0" : "=r"(ds));
  EXPECT_EQ(field(map[0].input, 4), ds);
  ASSERT_TRUE(IOFreePhysicalMemory(mapped));
  const auto unmap = hw.device.requests_with(req::unmap_physical);
  ASSERT_EQ(unmap.size(), 1u);
  const auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(map[0].device));
  EXPECT_EQ(unmap[0].input, words({handle, address_of(mapped), 0xD0000u, 0x1000u}));
}

TEST(physical_memory, RefusedMappingClosesItsHandle) {
  hardware_stand_in hw;
  hw.device.rejected = {req::map_physical};
  SetLastError(0);
  EXPECT_EQ(IOAllocPhysicalMemory(0xD0000000, 0x1000), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidFunction);
  EXPECT_EQ(hw.device.open_handles(), 0);
  hw.device.present = false;
  EXPECT_EQ(IOAllocPhysicalMemory(0xD0000000, 0x1000), nullptr);
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

TEST_F(mapping_table, ThirteenthMappingFailsWhileTwelveAreHeld) {
  std::vector<void*> held;
  for (int i = 0; i < 6; ++i) held.push_back(IOAllocPhysicalMemory(0xD0000000 + 0x100 * i, 0x100));
  for (int i = 0; i < 6; ++i) held.push_back(PCIMapMemory(pci, 0xFE000000 + 0x1000 * i, 0x1000));
  for (void* p : held) ASSERT_NE(p, nullptr);
  const int opens = hw.device.opens();
  EXPECT_EQ(IOAllocPhysicalMemory(0xD8000000, 0x100), nullptr);
  EXPECT_EQ(PCIMapMemory(pci, 0xFE100000, 0x1000), nullptr);
  EXPECT_EQ(hw.device.opens(), opens);  // a full table fails before opening anything
  // Freeing one entry makes room for exactly one more.
  EXPECT_TRUE(PCIUnmapMemory(pci, held[7]));
  void* again = IOAllocPhysicalMemory(0xD8000000, 0x100);
  EXPECT_NE(again, nullptr);
  EXPECT_EQ(IOAllocPhysicalMemory(0xD9000000, 0x100), nullptr);
  held[7] = again;
  for (int i = 0; i < 12; ++i) {
    EXPECT_TRUE(i < 6 || i == 7 ? IOFreePhysicalMemory(held[i]) : PCIUnmapMemory(pci, held[i])) << i;
  }
  EXPECT_EQ(hw.device.open_handles(), 1);  // only the PCI selection remains
}

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
  EXPECT_FALSE(PCIUnmapMemory(pci, nullptr));
  EXPECT_FALSE(PCIUnmapMemory(pci, reinterpret_cast<void*>(0x1234)));
  ASSERT_TRUE(PCIUnmapMemory(pci, mapped));
  const auto unmap = hw.device.requests_with(req::unmap_pci);
  ASSERT_EQ(unmap.size(), 1u);
  EXPECT_EQ(unmap[0].device, pci);
  EXPECT_EQ(unmap[0].input, words({address_of(mapped)}));
  EXPECT_EQ(hw.device.open_handles(), 1);
  EXPECT_FALSE(PCIUnmapMemory(pci, mapped));
  // A refused mapping closes its extra handle.
  hw.device.rejected = {req::map_pci};
  EXPECT_EQ(PCIMapMemory(pci, 0xFE000000, 0x1000), nullptr);
  EXPECT_EQ(hw.device.open_handles(), 1);
}

TEST(pci_memory, OnlyInTheNtFamily) {
  hardware_stand_in hw(simulated_platform::windows9x);
  hw.device.add_pci_device(0x10B5, 0x9050, 0, 7);
  std::uint8_t records[68];
  DWORD capacity = 1;
  HANDLE pci = PCIOpen(0x10B5, &capacity, records);
  ASSERT_NE(pci, nullptr);
  EXPECT_EQ(PCIMapMemory(pci, 0xFE000000, 0x1000), nullptr);
  EXPECT_TRUE(hw.device.requests_with(req::map_pci).empty());
  PCIClose(pci);
}

}  // namespace
}  // namespace tambre::test
