#include "io/reserved_ports.h"

#include <gtest/gtest.h>

namespace tambre::test {
namespace {

using io::port_class;

TEST(reserved_ports, RangeEdgesAndGaps) {
  struct row {
    std::uint32_t port;
    port_class expected;
  };
  // Every range's first and last port, and the ports just outside each.
  const row rows[] = {
      {0x000, port_class::system},      {0x060, port_class::system},      {0x0FF, port_class::system},
      {0x100, port_class::free},        {0x1EF, port_class::free},        {0x1F0, port_class::pc_hardware},
      {0x1F7, port_class::pc_hardware}, {0x1F8, port_class::free},        {0x1FF, port_class::free},
      {0x200, port_class::pc_hardware}, {0x207, port_class::pc_hardware}, {0x208, port_class::free},
      {0x277, port_class::free},        {0x278, port_class::pc_hardware}, {0x27F, port_class::pc_hardware},
      {0x280, port_class::free},        {0x2F7, port_class::free},        {0x2F8, port_class::pc_hardware},
      {0x2FF, port_class::pc_hardware}, {0x300, port_class::free},        {0x35F, port_class::free},
      {0x360, port_class::pc_hardware}, {0x36F, port_class::pc_hardware}, {0x370, port_class::free},
      {0x377, port_class::free},        {0x378, port_class::pc_hardware}, {0x37F, port_class::pc_hardware},
      {0x380, port_class::free},        {0x3AF, port_class::free},        {0x3B0, port_class::pc_hardware},
      {0x3BF, port_class::pc_hardware}, {0x3C0, port_class::free},        {0x3CF, port_class::free},
      {0x3D0, port_class::pc_hardware}, {0x3DF, port_class::pc_hardware}, {0x3E0, port_class::free},
      {0x3EF, port_class::free},        {0x3F0, port_class::pc_hardware}, {0x3F8, port_class::pc_hardware},
      {0x3FF, port_class::pc_hardware}, {0x400, port_class::free},        {0x10060, port_class::free},
      {0xFFFFFFFF, port_class::free},
  };
  for (const row& r : rows) EXPECT_EQ(io::classify_port(r.port), r.expected) << std::hex << r.port;
}

}  // namespace
}  // namespace tambre::test
