#pragma once
// Counts and durations of transactions: successes, failures by kind, mean and 99th
// percentile of the duration. Used by the driver's summary and by the host's.
#include <algorithm>
#include <cstddef>
#include <vector>

class poll_statistics {
 public:
  void add(bool success, int outcome, double duration_ms) {
    ++count_;
    if (success) ++successes_;
    if (outcome >= 0 && outcome < kOutcomes) ++by_outcome_[outcome];
    durations_.push_back(duration_ms);
    sum_ += duration_ms;
  }
  long count() const { return count_; }
  long successes() const { return successes_; }
  long failures() const { return count_ - successes_; }
  long outcomes(int outcome) const { return outcome >= 0 && outcome < kOutcomes ? by_outcome_[outcome] : 0; }
  double mean_ms() const { return count_ ? sum_ / static_cast<double>(count_) : 0.0; }
  // The smallest duration that at least 99 % of the transactions did not exceed.
  double p99_ms() const {
    if (durations_.empty()) return 0.0;
    std::vector<double> sorted(durations_);
    const std::size_t rank = (sorted.size() * 99 + 99) / 100;  // ceil(0.99 n), from 1
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(rank - 1), sorted.end());
    return sorted[rank - 1];
  }

 private:
  static constexpr int kOutcomes = 8;
  long count_ = 0;
  long successes_ = 0;
  long by_outcome_[kOutcomes] = {};
  double sum_ = 0;
  std::vector<double> durations_;
};
