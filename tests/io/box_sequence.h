#pragma once
// Answers the next boxes of this process one after the other, e.g. a question, then the
// error box and the failure message that follow it.

#include <thread>
#include <vector>

#include "support/box_catcher.h"

namespace tambre::test {

class box_sequence {
 public:
  explicit box_sequence(std::vector<int> answers, DWORD timeout_ms = 15000)
      : worker_([this, answers, timeout_ms] {
          for (int answer : answers) {
            box_catcher catcher(answer, timeout_ms);
            caught_box box = catcher.wait();
            if (!box.found) break;
            boxes_.push_back(box);
          }
        }) {}
  ~box_sequence() {
    if (worker_.joinable()) worker_.join();
  }
  box_sequence(const box_sequence&) = delete;
  box_sequence& operator=(const box_sequence&) = delete;

  // The boxes caught, in order; fewer than answers when the rest did not come.
  std::vector<caught_box> wait() {
    if (worker_.joinable()) worker_.join();
    return boxes_;
  }

 private:
  std::vector<caught_box> boxes_;
  std::thread worker_;
};

}  // namespace tambre::test
