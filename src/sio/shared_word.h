#pragma once
// The port object's flag word and worker handle are shared by the owner's thread and the
// worker without a lock; every access goes through these atomic helpers. The members keep
// their plain types, since the object's layout is fixed for derived classes.
#include <windows.h>

namespace tambre::sio {

enum flag_bits : DWORD {
  flag_stop = 0x1,
  flag_running = 0x2,
  flag_polling = 0x4,
  flag_port_shift = 24,
  flag_port_mask = 0xFF000000,
};

template <typename T>
T shared_load(const T& value) {
  return __atomic_load_n(&value, __ATOMIC_SEQ_CST);
}
template <typename T>
void shared_store(T& target, T value) {
  __atomic_store_n(&target, value, __ATOMIC_SEQ_CST);
}
inline void set_flags(DWORD& word, DWORD bits) { __atomic_fetch_or(&word, bits, __ATOMIC_SEQ_CST); }
inline void clear_flags(DWORD& word, DWORD bits) { __atomic_fetch_and(&word, ~bits, __ATOMIC_SEQ_CST); }

}  // namespace tambre::sio
