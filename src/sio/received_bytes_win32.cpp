// The store of bytes a port's worker has read ahead, and the registry that finds it by the
// port's handle. One lock guards both: its holders copy a few bytes at most.
#include "sio/received_bytes_win32.h"

#include <algorithm>

using tambre::sio::received_bytes;

namespace {

SRWLOCK store_lock = SRWLOCK_INIT;
CONDITION_VARIABLE bytes_stored = CONDITION_VARIABLE_INIT;

struct exclusive {
  exclusive() { AcquireSRWLockExclusive(&store_lock); }
  ~exclusive() { ReleaseSRWLockExclusive(&store_lock); }
  exclusive(const exclusive&) = delete;
  exclusive& operator=(const exclusive&) = delete;
};

// Few ports are open at a time: a list is the whole index.
std::vector<std::shared_ptr<received_bytes>>& registry() {
  static std::vector<std::shared_ptr<received_bytes>> stores;
  return stores;
}

}  // namespace

namespace tambre::sio {

// Called with the lock held.
received_bytes* received_bytes::find(HANDLE port) {
  for (const auto& store : registry()) {
    if (store->port_ == port) return store.get();
  }
  return nullptr;
}

received_bytes::received_bytes(HANDLE port, std::size_t capacity) : port_(port), ring_(capacity) {}

std::shared_ptr<received_bytes> received_bytes::open(HANDLE port, std::size_t capacity) {
  auto store = std::make_shared<received_bytes>(port, std::max<std::size_t>(capacity, 1));
  const exclusive lock;
  registry().push_back(store);
  return store;
}

void received_bytes::forget(HANDLE port) {
  const exclusive lock;
  auto& stores = registry();
  stores.erase(std::remove_if(stores.begin(), stores.end(), [port](const auto& s) { return s->port_ == port; }),
               stores.end());
}

void received_bytes::wake(HANDLE port) {
  const exclusive lock;
  if (received_bytes* store = find(port)) store->wake_.set();
}

bool received_bytes::take(HANDLE port, char* buffer, int count, int& taken, DWORD patience) {
  const exclusive lock;
  received_bytes* store = find(port);
  if (store == nullptr) return false;
  const ULONGLONG deadline = GetTickCount64() + patience;
  while (store->stored_ == 0) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    SleepConditionVariableSRW(&bytes_stored, &store_lock, static_cast<DWORD>(deadline - now), 0);
    store = find(port);  // closed meanwhile
    if (store == nullptr) return false;
  }
  received_bytes& s = *store;
  const bool was_full = s.stored_ == s.ring_.size();
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), s.stored_);
  taken = static_cast<int>(n);
  while (n > 0) {
    const std::size_t run = std::min(n, s.ring_.size() - s.head_);
    std::copy_n(s.ring_.data() + s.head_, run, buffer);
    buffer += run;
    s.head_ = (s.head_ + run) % s.ring_.size();
    s.stored_ -= run;
    n -= run;
  }
  if (was_full && taken > 0) s.wake_.set();
  return true;
}

bool received_bytes::count(HANDLE port, DWORD& bytes) {
  const exclusive lock;
  const received_bytes* store = find(port);
  if (store == nullptr) return false;
  bytes = static_cast<DWORD>(store->stored_);
  return true;
}

void received_bytes::discard(HANDLE port) {
  const exclusive lock;
  if (received_bytes* store = find(port)) {
    store->head_ = 0;
    store->stored_ = 0;
    store->wake_.set();
  }
}

std::size_t received_bytes::room() const {
  const exclusive lock;
  return ring_.size() - stored_;
}

void received_bytes::append(const char* data, std::size_t length) {
  const exclusive lock;
  length = std::min(length, ring_.size() - stored_);
  std::size_t tail = (head_ + stored_) % ring_.size();
  stored_ += length;
  while (length > 0) {
    const std::size_t run = std::min(length, ring_.size() - tail);
    std::copy_n(data, run, ring_.data() + tail);
    data += run;
    tail = (tail + run) % ring_.size();
    length -= run;
  }
  WakeAllConditionVariable(&bytes_stored);
}

}  // namespace tambre::sio
