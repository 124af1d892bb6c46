// The simulated device holds the library to the wire layouts: every request with the
// documented sizes is answered, and one byte more or less in either direction is refused.
#include "io/simulated_device.h"

#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "io/device_requests.h"

namespace tambre::test {
namespace {

namespace req = io::request;

struct layout_row {
  const char* name;
  std::uint32_t code;
  std::uint32_t in_size;
  std::uint32_t out_size;
  bool on_selection;  // sent on a handle with an open PCI selection
};

const layout_row kLayouts[] = {
    {"read port 8", req::read_port8, 4, 1, false},     {"read port 16", req::read_port16, 4, 2, false},
    {"read port 32", req::read_port32, 4, 4, false},   {"write port 8", req::write_port8, 5, 0, false},
    {"write port 16", req::write_port16, 6, 0, false}, {"write port 32", req::write_port32, 8, 0, false},
    {"version", req::query_version, 0, 4, false},      {"read PCI 8", req::pci_read8, 4, 1, true},
    {"read PCI 16", req::pci_read16, 4, 2, true},      {"read PCI 32", req::pci_read32, 4, 4, true},
    {"write PCI 8", req::pci_write8, 5, 0, true},      {"write PCI 16", req::pci_write16, 6, 0, true},
    {"write PCI 32", req::pci_write32, 8, 0, true},    {"map memory", req::map_physical, 24, 4, false},
    {"map PCI memory", req::map_pci, 24, 8, true},     {"open selection", req::pci_open_selection, 16, 68, false},
};

struct simulated_device_layouts : ::testing::Test {
  std::uint32_t now = 0;
  simulated_device device{[this] { return ++now; }};
  std::uint8_t in[64] = {};
  std::uint8_t out[128] = {};

  void SetUp() override {
    device.add_pci_device(0x10B5, 0x9050, 0, 1);
    base::store_le32(in, 0x10B5);       // also the selection's word 1
    base::store_le32(in + 20, 0x1000);  // a mapping's length
  }
  io::device_handle open_for(const layout_row& r) {
    std::uint32_t error = 0;
    io::device_handle h = device.open(io::kDeviceName, true, error);
    if (r.on_selection) {
      std::uint32_t returned = 0;
      std::uint8_t selection[16] = {0xB5, 0x10};
      device.control(h, req::pci_open_selection, selection, 16, out, 68, returned);
    }
    return h;
  }
  std::uint32_t send(io::device_handle h, const layout_row& r, std::uint32_t in_size, std::uint32_t out_size) {
    std::uint32_t returned = 0;
    // The first word: the bus type of a mapping, the vendor of a selection, else a port
    // or register offset.
    std::uint32_t first = 0x40;
    if (r.code == req::map_physical) first = io::kBusIsa;
    if (r.code == req::map_pci) first = io::kBusPci;
    if (r.code == req::pci_open_selection) first = 0x10B5;
    base::store_le32(in, first);
    return device.control(h, r.code, in_size ? in : nullptr, in_size, out_size ? out : nullptr, out_size, returned);
  }
};

TEST_F(simulated_device_layouts, DocumentedSizesAnsweredOthersRefused) {
  for (const layout_row& r : kLayouts) {
    io::device_handle h = open_for(r);
    EXPECT_EQ(send(h, r, r.in_size, r.out_size), 0u) << r.name;
    EXPECT_EQ(send(h, r, r.in_size + 1, r.out_size), kErrorInvalidParameter) << r.name;
    EXPECT_EQ(send(h, r, r.in_size, r.out_size + 1), kErrorInvalidParameter) << r.name;
    if (r.in_size > 0) {
      EXPECT_EQ(send(h, r, r.in_size - 1, r.out_size), kErrorInvalidParameter) << r.name;
    }
    EXPECT_TRUE(device.close(h)) << r.name;
  }
}

}  // namespace
}  // namespace tambre::test
