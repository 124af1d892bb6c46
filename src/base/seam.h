#pragma once
// Where the library meets the machine. Every such point is an interface with the system's
// own implementation behind it; a test or a fuzz target puts a stand-in there for a while
// and takes it away again. Logic that only needs its surroundings for one call (the
// redundancy link logic, the registry-file walk) takes them as an argument instead.

#include <atomic>

namespace tambre::base {

template <class Interface>
class seam {
 public:
  explicit seam(Interface& system_own) noexcept : own_(system_own) {}
  seam(const seam&) = delete;
  seam& operator=(const seam&) = delete;

  // The stand-in while one is installed, the system's own otherwise.
  Interface& get() const noexcept {
    Interface* stand_in = stand_in_.load(std::memory_order_acquire);
    return stand_in != nullptr ? *stand_in : own_;
  }
  Interface& system_own() const noexcept { return own_; }
  Interface* stand_in() const noexcept { return stand_in_.load(std::memory_order_acquire); }
  // A null stand-in restores the system's own.
  void install(Interface* stand_in) noexcept { stand_in_.store(stand_in, std::memory_order_release); }

 private:
  Interface& own_;
  std::atomic<Interface*> stand_in_{nullptr};
};

// Installs a stand-in for its own lifetime and puts back whatever was there before.
template <class Interface>
class scoped_stand_in {
 public:
  scoped_stand_in(seam<Interface>& where, Interface& stand_in) noexcept : where_(where), previous_(where.stand_in()) {
    where_.install(&stand_in);
  }
  ~scoped_stand_in() { where_.install(previous_); }
  scoped_stand_in(const scoped_stand_in&) = delete;
  scoped_stand_in& operator=(const scoped_stand_in&) = delete;

 private:
  seam<Interface>& where_;
  Interface* previous_;
};

}  // namespace tambre::base
