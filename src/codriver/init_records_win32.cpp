// Taking over the host's records: DrvInitStruct and DrvDialogStruct carry the same
// information at different offsets, applied by one routine.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <new>

#include "codriver/host_query.h"
#include "codriver/owned_names.h"
#include "tambre32/codriver.h"

namespace tambre::codriver {

namespace {

// Where a record keeps each field.
struct record_layout {
  std::size_t counts, bases, project_id, flags, short_names, second_ain, second_aout;
  std::size_t m_in, m_out, t_in, t_out;  // count, then base
  std::size_t short_min, short_mout, short_tin, short_tout;
  std::size_t host_query, host_value_b;
  std::size_t long_names, long_min, long_mout;
};

// Both records carry the same items, at different offsets.
template <typename Record>
constexpr record_layout layout_of() {
  return {offsetof(Record, counts),     offsetof(Record, bases),      offsetof(Record, projectId),
          offsetof(Record, flags),      offsetof(Record, shortNames), offsetof(Record, secondAIn),
          offsetof(Record, secondAOut), offsetof(Record, mIn),        offsetof(Record, mOut),
          offsetof(Record, tIn),        offsetof(Record, tOut),       offsetof(Record, shortMIn),
          offsetof(Record, shortMOut),  offsetof(Record, shortTIn),   offsetof(Record, shortTOut),
          offsetof(Record, hostQuery),  offsetof(Record, hostValueB), offsetof(Record, longNames),
          offsetof(Record, longMIn),    offsetof(Record, longMOut)};
}

constexpr record_layout kInitLayout = layout_of<DrvInitStruct>();
constexpr record_layout kDialogLayout = layout_of<DrvDialogStruct>();

// Little-endian reads at byte offsets; the records are packed.
std::int16_t read_i16(const unsigned char* record, std::size_t offset) {
  return static_cast<std::int16_t>(record[offset] | (record[offset + 1] << 8));
}
std::uint32_t read_u32(const unsigned char* record, std::size_t offset) {
  return std::uint32_t{record[offset]} | (std::uint32_t{record[offset + 1]} << 8) |
         (std::uint32_t{record[offset + 2]} << 16) | (std::uint32_t{record[offset + 3]} << 24);
}
// A 32-bit pointer field of the host.
char* read_pointer(const unsigned char* record, std::size_t offset) {
  return reinterpret_cast<char*>(static_cast<std::uintptr_t>(read_u32(record, offset)));
}

// The four basic types in record order.
constexpr ChannelType kBasicTypes[4] = {ctAIn, ctAOut, ctDIn, ctDOut};
// The long tables the host keeps, in record order.
constexpr ChannelType kLongTypes[6] = {ctAIn, ctAOut, ctDIn, ctDOut, ctTIn, ctTOut};

void apply_record(CoDriver& driver, const unsigned char* record, const record_layout& layout, bool has_value_a,
                  std::uint32_t value_a) {
  free_owned_names(driver);

  driver.m_projectId = read_i16(record, layout.project_id);
  for (int i = 0; i < 4; ++i) {
    const ChannelType type = kBasicTypes[i];
    driver.m_channelCounts[type] = read_i16(record, layout.counts + 2 * i);
    driver.m_channelBases[type] = read_i16(record, layout.bases + 2 * i);
    driver.m_shortNames[type] = read_pointer(record, layout.short_names + 4 * i);
  }
  driver.m_secondTables[ctAIn] = read_pointer(record, layout.second_ain);
  driver.m_secondTables[ctAOut] = read_pointer(record, layout.second_aout);

  const int flags = read_i16(record, layout.flags);
  const int count_min = read_i16(record, layout.m_in);
  const int count_mout = read_i16(record, layout.m_out);
  if (flags & DRV_FLAG_EXTENDED_BLOCK) {
    const struct {
      ChannelType type;
      std::size_t offset;
    } blocks[] = {{ctTIn, layout.t_in}, {ctTOut, layout.t_out}, {ctMIn, layout.m_in}, {ctMOut, layout.m_out}};
    for (const auto& block : blocks) {
      driver.m_channelCounts[block.type] = read_i16(record, block.offset);
      driver.m_channelBases[block.type] = read_i16(record, block.offset + 2);
      driver.m_shortNames[block.type] = nullptr;
    }
    driver.m_shortNames[ctMOut] =
        copy_name_table(read_pointer(record, layout.short_mout), count_mout, DRV_SHORT_NAME_SIZE);
    driver.m_shortNames[ctMIn] =
        copy_name_table(read_pointer(record, layout.short_min), count_min, DRV_SHORT_NAME_SIZE);
  }
  if (flags & DRV_FLAG_T_NAMES) {
    driver.m_shortNames[ctTIn] = read_pointer(record, layout.short_tin);
    driver.m_shortNames[ctTOut] = read_pointer(record, layout.short_tout);
  }
  if (flags & DRV_FLAG_LONG_NAMES) {
    for (int i = 0; i < 6; ++i) driver.m_longNames[kLongTypes[i]] = read_pointer(record, layout.long_names + 4 * i);
    driver.m_longNames[ctMOut] =
        copy_name_table(read_pointer(record, layout.long_mout), count_mout, DRV_LONG_NAME_SIZE);
    driver.m_longNames[ctMIn] = copy_name_table(read_pointer(record, layout.long_min), count_min, DRV_LONG_NAME_SIZE);
  }

  host().value_a = has_value_a ? value_a : 0;
  if (flags & DRV_FLAG_HOST_QUERY) {
    host().query = reinterpret_cast<DrvHostQueryProc>(static_cast<std::uintptr_t>(read_u32(record, layout.host_query)));
    host().value_b = read_u32(record, layout.host_value_b);
  }
}

}  // namespace

void free_owned_names(CoDriver& driver) {
  for (ChannelType type : {ctMIn, ctMOut}) {
    delete[] driver.m_shortNames[type];
    delete[] driver.m_longNames[type];
    driver.m_shortNames[type] = nullptr;
    driver.m_longNames[type] = nullptr;
  }
}

char* copy_name_table(const char* table, int count, int entry_size) {
  if (!table || count <= 0) return nullptr;
  const std::size_t size = static_cast<std::size_t>(count) * entry_size;
  char* copy = new (std::nothrow) char[size];
  if (copy) std::memcpy(copy, table, size);
  return copy;
}

}  // namespace tambre::codriver

BOOL CoDriver::ForwardInit(const DrvInitStruct* record) {
  if (!record) return TRUE;  // nothing to take over
  const auto* bytes = reinterpret_cast<const unsigned char*>(record);
  tambre::codriver::apply_record(*this, bytes, tambre::codriver::kInitLayout, true,
                                 tambre::codriver::read_u32(bytes, offsetof(DrvInitStruct, hostValueA)));
  return TRUE;
}

BOOL CoDriver::ForwardDialogEx(const DrvDialogStruct* record) {
  if (!record) return TRUE;
  tambre::codriver::apply_record(*this, reinterpret_cast<const unsigned char*>(record), tambre::codriver::kDialogLayout,
                                 false, 0);
  return TRUE;
}
