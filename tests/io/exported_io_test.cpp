// The exported port, PCI and memory functions over the simulated device.
#include <gtest/gtest.h>

#include <optional>

#include "io/device_requests.h"
#include "io/hardware_stand_in.h"
#include "io/sequence_record.h"
#include "tambre32/io.h"

namespace tambre::test {
namespace {

using access = simulated_ports::access;
namespace req = io::request;

// A request's input as little-endian 32-bit words.
std::vector<std::uint8_t> words(std::initializer_list<std::uint32_t> values) {
  std::vector<std::uint8_t> bytes(4 * values.size());
  std::size_t at = 0;
  for (std::uint32_t v : values) base::store_le32(bytes.data() + 4 * at++, v);
  return bytes;
}

std::uint32_t address_of(void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

// Reads of 8, 16, 32 bits at base + 0, 2, 4; writes at base + 8, 10, 12.
struct every_width {
  BYTE b = 0x11;
  WORD w = 0x2222;
  DWORD d = 0x33333333;
  std::vector<bool> ok;
  every_width(HANDLE h, DWORD base)
      : ok{IORead8(h, base, &b) != FALSE,
           IORead16(h, base + 2, &w) != FALSE,
           IORead32(h, base + 4, &d) != FALSE,
           IOWrite8(h, base + 8, 0x12) != FALSE,
           IOWrite16(h, base + 10, 0x3456) != FALSE,
           IOWrite32(h, base + 12, 0x789ABCDE) != FALSE} {}
  std::vector<std::uint32_t> values() const { return {b, w, d}; }
};

TEST(port_access, DetectionVerdictsAndTheModeEachPlatformGets) {
  const struct {
    std::optional<std::uint32_t> version_word;      // none: the device does not answer
    std::optional<WORD> capabilities, min_version;  // none: IODeviceInstalled
    BOOL installed;
  } verdicts[] = {
      {std::nullopt, 3, 0, FALSE},  // a silent device counts as version 3 with bit 0x0100
      {std::nullopt, 0x0100, 3, TRUE},
      {std::nullopt, 0x0100, 4, FALSE},
      {0x00050003, 3, 6, FALSE},
      {0x00050003, 4, 0, FALSE},
      {0xFFFF0000, 0, 0xFFFF, TRUE},
      {0x00010003, std::nullopt, std::nullopt, TRUE},
      {0x00090001, std::nullopt, std::nullopt, FALSE},
  };
  for (const auto& r : verdicts) {
    SCOPED_TRACE(&r - verdicts);
    hardware_stand_in hw;
    hw.device.version_word = r.version_word;
    EXPECT_EQ(r.capabilities ? IODeviceInstalledEx(*r.capabilities, *r.min_version) : IODeviceInstalled(), r.installed);
    EXPECT_EQ(hw.device.requests_with(req::query_version).size(), 1u);
    EXPECT_EQ(hw.device.open_handles(), 0);
  }
  const struct {
    simulated_platform platform;
    std::uint32_t version_word;
    bool present;
    BOOL registered;
    bool via_device;  // an 8-bit read reaches the port space by a device request
  } modes[] = {
      {simulated_platform::windows9x, 0x00050003, false, TRUE, false},
      {simulated_platform::nt4, 0x00050003, true, TRUE, true},
      {simulated_platform::nt5, 0x00050003, false, FALSE, false},
      {simulated_platform::nt5, 0x00050001, true, FALSE, false},  // lacks capability 2
  };
  for (const auto& r : modes) {
    SCOPED_TRACE(&r - modes);
    hardware_stand_in hw(r.platform);
    hw.device.present = r.present;
    hw.device.version_word = r.version_word;
    hw.ports().set_value(0x300, 0x42);
    EXPECT_EQ(IORegister(), r.registered);
    std::uint32_t error = 0;
    HANDLE device = r.via_device ? hw.device.open(io::kDeviceName, true, error) : nullptr;
    BYTE value = 0;
    EXPECT_EQ(IORead8(device, 0x300, &value) != FALSE, r.registered != FALSE);
    EXPECT_EQ(value, r.registered ? 0x42 : 0);
    EXPECT_EQ(hw.device.requests_with(req::read_port8).size(), r.via_device ? 1u : 0u);
    if (!r.registered) {
      EXPECT_EQ(IOOpen(), nullptr);
    }
  }
}

TEST(port_access, BothModesReachThePortsAndFailuresGiveAllOnes) {
  for (const auto platform : {simulated_platform::windows9x, simulated_platform::nt5}) {
    const bool direct = platform == simulated_platform::windows9x;
    SCOPED_TRACE(direct ? "direct" : "device");
    hardware_stand_in hw(platform);
    hw.ports().set_value(0x300, 0x5A);
    hw.ports().set_value(0x302, 0xBEEF);
    hw.ports().set_value(0x304, 0xDEADBEEF);
    HANDLE h = IOOpen();
    ASSERT_EQ(h == reinterpret_cast<HANDLE>(1), direct);
    const auto before = hw.device.requests().size();
    const every_width ops(h, 0x10300);  // the port is taken as 16 bits
    EXPECT_EQ(ops.ok, std::vector<bool>(6, true));
    EXPECT_EQ(ops.values(), (std::vector<std::uint32_t>{0x5A, 0xBEEF, 0xDEADBEEF}));
    std::vector<access> expected = {{false, 8, 0x300, 0x5A}, {false, 16, 0x302, 0xBEEF}, {false, 32, 0x304, 0xDEADBEEF},
                                    {true, 8, 0x308, 0x12},  {true, 16, 0x30A, 0x3456},  {true, 32, 0x30C, 0x789ABCDE}};
    EXPECT_EQ(hw.ports().log(), expected);
    const auto& seen = hw.device.requests();
    EXPECT_EQ(seen.size() - before, direct ? 0u : 6u);
    for (std::size_t i = before; i < seen.size(); ++i) EXPECT_EQ(seen[i].device, h);
    EXPECT_FALSE(IORead8(h, 0x300, nullptr));
    EXPECT_EQ(hw.ports().log().size(), expected.size());

    // A sequence: results come back, bad items and time-outs become the caller's error.
    hw.ports().set_ready_after_reads(0x301, 0x00, 0x80, 3);
    sequence_record record(0x300, io::kNoTimeLimit, {{io::op_wait8, 1, 0, 0x80, 0x80}, {io::op_read16, 4, 0xFFFF0000}});
    EXPECT_TRUE(PCISequence(h, record.data()));
    EXPECT_EQ(record.value(1), 0xFFFFBEEFu);
    const struct {
      std::uint32_t timeout_ms;
      std::vector<sequence_step> steps;
      DWORD error;
    } failing[] = {{io::kNoTimeLimit, {{3, 9, 0x43}}, 0x80070057u}, {30, {{io::op_wait8, 0, 0, 1, 1}}, 1460}};
    for (const auto& f : failing) {
      sequence_record bad(0x300, f.timeout_ms, f.steps);
      SetLastError(0);
      EXPECT_FALSE(IOSequence(h, bad.data()));
      EXPECT_EQ(GetLastError(), f.error);
    }
    SetLastError(0);
    EXPECT_FALSE(IOSequence(h, nullptr));
    EXPECT_EQ(GetLastError(), 0x80070057u);
    if (direct) {
      EXPECT_EQ(hw.device.opens(), 0);
      continue;
    }
    EXPECT_EQ(hw.device.requests_with(req::run_sequence).size(), 3u);  // sized as the device checks
    base::store_le32(record.data() + 8, 0x7FFFFFFF);                   // too large for one request: nothing is sent
    EXPECT_FALSE(IOSequence(h, record.data()));
    EXPECT_EQ(hw.device.requests_with(req::run_sequence).size(), 3u);

    hw.device.rejected = {req::read_port8, req::read_port16, req::read_port32, req::write_port8};
    SetLastError(0);
    const every_width failed(h, 0x300);
    EXPECT_EQ(GetLastError(), kErrorInvalidFunction);
    EXPECT_EQ(failed.ok, (std::vector<bool>{false, false, false, false, true, true}));
    EXPECT_EQ(failed.values(), (std::vector<std::uint32_t>{0xFF, 0xFFFF, 0xFFFFFFFF}));
    // A second port handle that cannot be opened switches only the narrow operations.
    hw.device.rejected.clear();
    hw.device.opens_left = 1;  // detection still finds the device, the port handle fails
    EXPECT_EQ(IOOpen(), nullptr);
    EXPECT_EQ(every_width(h, 0x300).ok, (std::vector<bool>{false, false, true, false, false, true}));
    IOClose(nullptr);  // closes only device handles
    EXPECT_EQ(hw.device.open_handles(), 1);
    IOClose(h);
    EXPECT_EQ(hw.device.open_handles(), 0);
  }
}

TEST(pci_functions, SelectionEnumerationAndConfigurationRegisters) {
  hardware_stand_in hw;
  hw.device.add_pci_device(0x10B5, 0x9050, 0, 3);
  hw.device.add_pci_device(0x10B5, 0x9054, 1, 4);
  hw.device.add_pci_device(0x10B5, 0x9050, 2, 5);
  const struct {
    DWORD word1, word2, word3, capacity, returned;
  } rows[] = {{0x10B5, 0, 0, 2, 2}, {0x10B5, 0x9050, 3, 8, 1}, {0x1234, 0, 0, 8, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(&r - rows);
    std::vector<std::uint8_t> buffer(68 * r.capacity + 68, 0xEE);
    DWORD capacity = r.capacity;
    HANDLE pci = PCIOpenEx(r.word1, r.word2, r.word3, &capacity, buffer.data());
    ASSERT_NE(pci, nullptr);
    EXPECT_EQ(capacity, r.returned);
    for (DWORD i = 0; i < capacity; ++i) EXPECT_EQ(base::load_le16(&buffer[68 * i]), r.word1);
    EXPECT_EQ(buffer[68 * r.capacity], 0xEE) << "nothing beyond the capacity";
    EXPECT_TRUE(PCIClose(pci));
  }
  std::uint8_t buffer[68 * 2];
  DWORD capacity = 0;
  EXPECT_EQ(PCIOpenEx(0x10B5, 0, 0, &capacity, buffer), nullptr);
  EXPECT_EQ(PCIOpenEx(0x10B5, 0, 0, nullptr, buffer), nullptr);
  capacity = 2;
  EXPECT_EQ(PCIOpen(0, &capacity, buffer), nullptr);
  EXPECT_EQ(hw.device.opens(), 3) << "refused arguments open nothing";
  hw.device.rejected = {req::pci_open_selection};
  EXPECT_EQ(PCIOpen(0x10B5, &capacity, buffer), nullptr);
  EXPECT_EQ(capacity, 0u);
  EXPECT_EQ(hw.device.open_handles(), 0);
  hw.device.rejected.clear();
  EXPECT_EQ(PCIEnumDeviceEx(0x10B5, 0x9054, 0), 1);
  EXPECT_EQ(PCIEnumDevice(0), -1);
  for (int i = 0; i < 40; ++i) hw.device.add_pci_device(0x1AF4, static_cast<std::uint16_t>(0x1000 + i), 0, 0);
  EXPECT_EQ(PCIEnumDevice(0x1AF4), 32);

  capacity = 1;
  HANDLE pci = PCIOpenEx(0x10B5, 0x9054, 0, &capacity, buffer);
  ASSERT_NE(pci, nullptr);
  BYTE b = 0, b2 = 0;
  WORD w = 0;
  DWORD d = 0;
  EXPECT_TRUE(PCIRead32(pci, 0, &d) && PCIWrite32(pci, 0x10, 0xFE000008) && PCIWrite16(pci, 0x04, 0x0147) &&
              PCIWrite8(pci, 0x3C, 0x0B) && PCIRead8(pci, 0x13, &b) && PCIRead16(pci, 0x04, &w) &&
              PCIRead8(pci, 0x3C, &b2));
  EXPECT_EQ((std::vector<std::uint32_t>{d, b, w, b2}), (std::vector<std::uint32_t>{0x905410B5u, 0xFE, 0x0147, 0x0B}));
  // Beyond the 256 bytes of configuration space the device refuses: all ones.
  SetLastError(0);
  EXPECT_FALSE(PCIRead32(pci, 0xFE, &d));
  EXPECT_EQ(d, 0xFFFFFFFFu);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(PCIRead16(nullptr, 0, &w) || PCIRead8(pci, 0, nullptr) || PCIClose(nullptr));
  EXPECT_EQ(w, 0xFFFF);
  EXPECT_TRUE(PCIClose(pci));
  EXPECT_FALSE(PCIClose(pci));  // closed already
  // A port handle has no selection: the close fails, the handle is closed all the same.
  EXPECT_FALSE(PCIClose(IOOpen()));
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST(physical_memory, RealModeAddressesInEachModeAndFree) {
  const struct {
    simulated_platform platform;
    DWORD segment_offset, length;
    std::uint32_t linear;  // 0: refused without a request
  } rows[] = {{simulated_platform::nt5, 0xF000FFF0, 15, 0xFFFF0},
              {simulated_platform::nt5, 0xF000FFF0, 16, 0},  // reaches 1 MiB
              {simulated_platform::nt5, 0x00000400, 16, 0},  // segment 0
              {simulated_platform::nt5, 0xD0000000, 0, 0},
              {simulated_platform::windows9x, 0xC8000010, 16, 0xC8010}};
  for (const auto& r : rows) {
    SCOPED_TRACE(&r - rows);
    hardware_stand_in hw(r.platform);
    void* mapped = IOAllocPhysicalMemory(r.segment_offset, r.length);
    const auto sent = hw.device.requests_with(req::map_physical);
    if (r.linear == 0) {
      EXPECT_EQ(mapped, nullptr);
      EXPECT_EQ(hw.device.opens(), 0);
      continue;
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(address_of(mapped), hw.device.mapping_base + r.linear);
    ASSERT_TRUE(IOFreePhysicalMemory(mapped));
    const auto unmap = hw.device.requests_with(req::unmap_physical).at(0).input;
    if (r.platform == simulated_platform::windows9x) {  // the data segment, and the whole entry back
      std::uint16_t ds;
      __asm__("mov %%ds, %0" : "=r"(ds));
      EXPECT_EQ(base::load_le32(sent[0].input.data() + 4), ds);
      EXPECT_EQ(unmap, words({address_of(sent[0].device), address_of(mapped), r.linear, r.length}));
    } else {  // bus type ISA, bus 0, the linear address, high part 0, memory space, the length
      EXPECT_EQ(sent[0].input, words({io::kBusIsa, 0, r.linear, 0, 0, r.length}));
      EXPECT_EQ(hw.device.exclusive_opens(), 1);
      EXPECT_EQ(unmap, words({address_of(mapped)}));
    }
    EXPECT_EQ(hw.device.open_handles(), 0);
    EXPECT_FALSE(IOFreePhysicalMemory(mapped)) << "already freed";
  }
  hardware_stand_in hw;
  // A refused unmap still frees the entry and closes the handle; a refused map closes it.
  void* mapped = IOAllocPhysicalMemory(0xD0000000, 0x1000);
  ASSERT_NE(mapped, nullptr);
  hw.device.rejected = {req::unmap_physical, req::map_physical};
  EXPECT_TRUE(IOFreePhysicalMemory(mapped));
  EXPECT_EQ(IOAllocPhysicalMemory(0xD0000000, 0x1000), nullptr);
  EXPECT_EQ(hw.device.open_handles(), 0);
}

TEST(pci_memory, MappingsShareTwelveEntriesAndNoneInTheDirectMode) {
  for (const auto platform : {simulated_platform::windows9x, simulated_platform::nt5}) {
    hardware_stand_in hw(platform);
    hw.device.add_pci_device(0x10B5, 0x9050, 0, 3);
    std::uint8_t records[68];
    DWORD capacity = 1;
    HANDLE pci = PCIOpen(0x10B5, &capacity, records);
    ASSERT_NE(pci, nullptr);
    void* mapped = PCIMapMemory(pci, 0xFE001000, 0x2000);
    if (platform == simulated_platform::windows9x) {
      EXPECT_EQ(mapped, nullptr);
      EXPECT_TRUE(hw.device.requests_with(req::map_pci).empty());
      PCIClose(pci);
      continue;
    }
    EXPECT_EQ(address_of(mapped), hw.device.mapping_base + 0xFE001000u);
    const auto sent = hw.device.requests_with(req::map_pci).at(0);
    EXPECT_EQ(sent.device, pci);
    EXPECT_EQ(sent.input, words({io::kBusPci, 0, 0xFE001000u, 0, 0, 0x2000u}));
    EXPECT_EQ(hw.device.open_handles(), 2);
    EXPECT_FALSE(PCIUnmapMemory(nullptr, mapped) || PCIUnmapMemory(pci, reinterpret_cast<void*>(0x1234)));
    ASSERT_TRUE(PCIUnmapMemory(pci, mapped));
    EXPECT_EQ(hw.device.requests_with(req::unmap_pci).at(0).input, words({address_of(mapped)}));
    EXPECT_EQ(hw.device.open_handles(), 1);
    hw.device.rejected = {req::map_pci};  // a refused mapping closes its extra handle
    EXPECT_EQ(PCIMapMemory(pci, 0xFE000000, 0x1000), nullptr);
    EXPECT_EQ(hw.device.open_handles(), 1);
    hw.device.rejected.clear();

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
    for (int i = 0; i < 12; ++i) {
      EXPECT_TRUE(i < 6 || i == 7 ? IOFreePhysicalMemory(held[i]) : PCIUnmapMemory(pci, held[i])) << i;
    }
    EXPECT_EQ(hw.device.open_handles(), 1);  // only the PCI selection remains
    PCIClose(pci);
  }
}

}  // namespace
}  // namespace tambre::test
