#pragma once
// The simulated kernel port-I/O device: the real device's request codes and layouts over
// a scripted port space, PCI devices and mappings; misfitting requests are refused (87).
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "io/device_channel.h"
#include "io/simulated_ports.h"

namespace tambre::test {

inline constexpr std::uint32_t kErrorInvalidFunction = 1;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;

struct simulated_pci_device {
  std::uint16_t vendor;
  std::uint16_t device;
  std::uint8_t bus;
  std::uint8_t slot;
  std::array<std::uint8_t, 256> config{};  // vendor and device ids are filled in
};

class simulated_device final : public io::device_channel {
 public:
  explicit simulated_device(io::millisecond_clock clock);

  bool present = true;                                     // false: opening fails with error 2
  int opens_left = -1;                                     // opens that still succeed; -1: any number
  std::optional<std::uint32_t> version_word = 0x00050003;  // none: the version request is refused
  std::set<std::uint32_t> rejected;                        // request codes refused with error 1
  std::uint32_t mapping_base = 0x40000000;                 // mapped address = base + physical address
  // Selection: word 1 the vendor id, word 2 the device id (0 = any), word 3 the bus + 1
  // (0 = any). The 68-byte record: the first 64 bytes of configuration space, then bus,
  // slot and two zero bytes.
  std::vector<simulated_pci_device> pci;
  void add_pci_device(std::uint16_t vendor, std::uint16_t device, std::uint8_t bus, std::uint8_t slot);

  simulated_ports& ports() { return ports_; }

  struct request_seen {
    io::device_handle device;
    std::uint32_t code;
    std::vector<std::uint8_t> input;
  };
  const std::vector<request_seen>& requests() const { return requests_; }
  std::vector<request_seen> requests_with(std::uint32_t code) const;
  int opens() const { return opens_; }
  int exclusive_opens() const { return exclusive_opens_; }
  int open_handles() const { return static_cast<int>(handles_.size()); }

  io::device_handle open(const char* name, bool shared, std::uint32_t& error) override;
  std::uint32_t control(io::device_handle device, std::uint32_t code, const void* in, std::uint32_t in_size, void* out,
                        std::uint32_t out_size, std::uint32_t& returned) override;
  bool close(io::device_handle device) override;

 private:
  struct handle_state {
    bool selection_open = false;          // after a selection request, until it is closed
    std::optional<std::size_t> selected;  // the first device it found, an index into pci
  };
  std::uint32_t answer(handle_state& state, std::uint32_t code, const std::uint8_t* in, std::uint32_t in_size,
                       std::uint8_t* out, std::uint32_t out_size, std::uint32_t& returned);

  io::millisecond_clock clock_;
  simulated_ports ports_;
  std::map<io::device_handle, handle_state> handles_;
  std::uintptr_t next_handle_ = 0x5100;
  std::vector<request_seen> requests_;
  std::set<std::uint32_t> mapped_;
  int opens_ = 0;
  int exclusive_opens_ = 0;
};

}  // namespace tambre::test
