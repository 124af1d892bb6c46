#include "io/simulated_device.h"

#include <cstring>

#include "base/little_endian.h"
#include "io/device_requests.h"

namespace tambre::test {

namespace req = io::request;
using base::load_le32;
using base::store_le32;

simulated_device::simulated_device(io::millisecond_clock clock) : clock_(clock) {}

void simulated_device::add_pci_device(std::uint16_t vendor, std::uint16_t device, std::uint8_t bus, std::uint8_t slot) {
  simulated_pci_device d{vendor, device, bus, slot};
  base::store_le16(d.config.data(), vendor);
  base::store_le16(d.config.data() + 2, device);
  pci.push_back(d);
}

std::vector<simulated_device::request_seen> simulated_device::requests_with(std::uint32_t code) const {
  std::vector<request_seen> found;
  for (const request_seen& r : requests_) {
    if (r.code == code) found.push_back(r);
  }
  return found;
}

io::device_handle simulated_device::open(const char* name, bool shared, std::uint32_t& error) {
  if (!present || opens_left == 0 || std::strcmp(name, io::kDeviceName) != 0) {
    error = kErrorFileNotFound;
    return nullptr;
  }
  if (opens_left > 0) --opens_left;
  ++opens_;
  if (!shared) ++exclusive_opens_;
  auto handle = reinterpret_cast<io::device_handle>(next_handle_);
  next_handle_ += 4;
  handles_[handle] = handle_state{};
  error = 0;
  return handle;
}

bool simulated_device::close(io::device_handle device) { return handles_.erase(device) == 1; }

std::uint32_t simulated_device::control(io::device_handle device, std::uint32_t code, const void* in,
                                        std::uint32_t in_size, void* out, std::uint32_t out_size,
                                        std::uint32_t& returned) {
  returned = 0;
  const auto* input = static_cast<const std::uint8_t*>(in);
  requests_.push_back({device, code, std::vector<std::uint8_t>(input, input + (input ? in_size : 0))});
  auto state = handles_.find(device);
  if (state == handles_.end()) return kErrorInvalidHandle;
  if (rejected.count(code) != 0) return kErrorInvalidFunction;
  if ((in_size != 0 && in == nullptr) || (out_size != 0 && out == nullptr)) return kErrorInvalidParameter;
  return answer(state->second, code, input, in_size, static_cast<std::uint8_t*>(out), out_size, returned);
}

std::uint32_t simulated_device::answer(handle_state& state, std::uint32_t code, const std::uint8_t* in,
                                       std::uint32_t in_size, std::uint8_t* out, std::uint32_t out_size,
                                       std::uint32_t& returned) {
  // Width in bytes of the register requests, by the low bits of the function number.
  auto width = [](std::uint32_t c) { return std::uint32_t{1} << ((c >> 2) & 3); };
  switch (code) {
    case req::read_port8:
    case req::read_port16:
    case req::read_port32: {
      if (in_size != 4 || out_size != width(code)) return kErrorInvalidParameter;
      const auto port = static_cast<std::uint16_t>(load_le32(in));
      std::uint32_t v = code == req::read_port8    ? ports_.in8(port)
                        : code == req::read_port16 ? ports_.in16(port)
                                                   : ports_.in32(port);
      for (std::uint32_t i = 0; i < out_size; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
      returned = out_size;
      return 0;
    }
    case req::write_port8:
    case req::write_port16:
    case req::write_port32: {
      if (in_size != 4 + width(code) || out_size != 0) return kErrorInvalidParameter;
      const auto port = static_cast<std::uint16_t>(load_le32(in));
      std::uint32_t v = 0;
      for (std::uint32_t i = 0; i < width(code); ++i) v |= std::uint32_t{in[4 + i]} << (8 * i);
      if (code == req::write_port8) ports_.out8(port, static_cast<std::uint8_t>(v));
      if (code == req::write_port16) ports_.out16(port, static_cast<std::uint16_t>(v));
      if (code == req::write_port32) ports_.out32(port, v);
      return 0;
    }
    case req::run_sequence: {
      if (in_size < 16 || in_size != out_size) return kErrorInvalidParameter;
      if (in_size != io::sequence_request_length(io::sequence_item_count(in))) return kErrorInvalidParameter;
      std::vector<std::uint8_t> record(in, in + in_size);
      const std::uint32_t result = io::run_port_sequence(record.data(), record.size(), ports_, clock_);
      std::memcpy(out, record.data(), out_size);
      returned = out_size;
      return result;
    }
    case req::query_version:
      if (!version_word) return kErrorInvalidFunction;
      if (in_size != 0 || out_size != 4) return kErrorInvalidParameter;
      store_le32(out, *version_word);
      returned = 4;
      return 0;
    case req::pci_open_selection: {
      if (in_size != sizeof(io::pci_selection) || out_size % io::kPciRecordSize != 0) return kErrorInvalidParameter;
      if (load_le32(in + 12) != 0) return kErrorInvalidParameter;
      const std::uint32_t vendor = load_le32(in), device = load_le32(in + 4), bus = load_le32(in + 8);
      std::uint32_t written = 0;
      state.selection_open = true;
      state.selected.reset();
      for (std::size_t i = 0; i < pci.size(); ++i) {
        const simulated_pci_device& d = pci[i];
        if (d.vendor != vendor || (device != 0 && d.device != device) || (bus != 0 && d.bus + 1u != bus)) continue;
        if (!state.selected) state.selected = i;
        if (written + io::kPciRecordSize > out_size) break;
        std::uint8_t* record = out + written;
        std::memcpy(record, d.config.data(), 64);
        record[64] = d.bus;
        record[65] = d.slot;
        record[66] = record[67] = 0;
        written += io::kPciRecordSize;
      }
      returned = written;
      return 0;
    }
    case req::pci_close_selection:
      if (in_size != 0 || out_size != 0) return kErrorInvalidParameter;
      if (!state.selection_open) return kErrorInvalidFunction;
      state.selection_open = false;
      state.selected.reset();
      return 0;
    case req::pci_read8:
    case req::pci_read16:
    case req::pci_read32: {
      if (in_size != 4 || out_size != width(code)) return kErrorInvalidParameter;
      if (!state.selected) return kErrorInvalidHandle;
      const std::uint32_t offset = load_le32(in);
      if (offset > 256 - out_size) return kErrorInvalidParameter;
      std::memcpy(out, pci[*state.selected].config.data() + offset, out_size);
      returned = out_size;
      return 0;
    }
    case req::pci_write8:
    case req::pci_write16:
    case req::pci_write32: {
      const std::uint32_t n = width(code);
      if (in_size != 4 + n || out_size != 0) return kErrorInvalidParameter;
      if (!state.selected) return kErrorInvalidHandle;
      const std::uint32_t offset = load_le32(in);
      if (offset > 256 - n) return kErrorInvalidParameter;
      std::memcpy(pci[*state.selected].config.data() + offset, in + 4, n);
      return 0;
    }
    case req::map_physical:
    case req::map_pci: {
      const bool for_pci = code == req::map_pci;
      if (in_size != sizeof(io::mapping_request) || out_size != (for_pci ? io::kPciMappingAnswerSize : 4)) {
        return kErrorInvalidParameter;
      }
      const std::uint32_t bus_type = load_le32(in), physical = load_le32(in + 8);
      if (bus_type != (for_pci ? io::kBusPci : io::kBusIsa) || load_le32(in + 12) != 0 || load_le32(in + 16) != 0 ||
          load_le32(in + 20) == 0) {
        return kErrorInvalidParameter;
      }
      if (for_pci && !state.selected) return kErrorInvalidHandle;
      const std::uint32_t mapped = mapping_base + physical;
      mapped_.insert(mapped);
      std::memset(out, 0, out_size);
      store_le32(out, mapped);
      returned = out_size;
      return 0;
    }
    case req::unmap_physical:
    case req::unmap_pci: {
      // The direct mode hands over the whole 16-byte mapping entry, the address second.
      const bool entry = code == req::unmap_physical && in_size == sizeof(io::mapping_entry);
      if ((in_size != 4 && !entry) || out_size != 0) return kErrorInvalidParameter;
      const std::uint32_t address = load_le32(in + (entry ? 4 : 0));
      return mapped_.erase(address) == 1 ? 0 : kErrorInvalidParameter;
    }
    default:
      return kErrorInvalidFunction;
  }
}

}  // namespace tambre::test
