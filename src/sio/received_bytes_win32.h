#pragma once
// The bytes a port's worker has taken from a line that cannot report its events (Wine on a
// pseudo-terminal), kept until the driver reads them. Waiting in a read of its own is the
// only way the worker learns at once that a byte has come; once it has the byte, every
// read of the port must take from here first, so no byte overtakes another.
//
// The store is found by the port's handle: every view of an open port (an assigned copy)
// reads from the same one, and the port object's own layout stays as drivers know it.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "sys/handles.h"

namespace tambre::sio {

class received_bytes {
 public:
  // Registers a store of `capacity` bytes for `port`; the registry and the worker share it.
  static std::shared_ptr<received_bytes> open(HANDLE port, std::size_t capacity);
  // Drops the port's store (Close, before the handle goes). A worker still holding it
  // keeps it alive until it ends.
  static void forget(HANDLE port);
  // Wakes the port's worker: something it waits for may have changed (room, stop).
  static void wake(HANDLE port);
  // False when the port has no store (it reads from the platform directly). An empty store
  // is waited on for at most `patience` ms.
  static bool take(HANDLE port, char* buffer, int count, int& taken, DWORD patience);
  static bool count(HANDLE port, DWORD& bytes);
  static void discard(HANDLE port);

  std::size_t room() const;
  void append(const char* data, std::size_t length);
  // Auto-reset: set by a read that made room, by a discard, and by wake.
  HANDLE wake_event() const { return wake_.get(); }

  explicit received_bytes(HANDLE port, std::size_t capacity);

 private:
  static received_bytes* find(HANDLE port);

  HANDLE port_;
  std::vector<char> ring_;
  std::size_t head_ = 0;  // oldest byte
  std::size_t stored_ = 0;
  tambre::sys::unique_event wake_{false};
};

}  // namespace tambre::sio
