#pragma once

#include <cstdint>

namespace mireval {

// The program's one uniform generator in [0, 1): a 24-bit linear congruential sequence with a
// fixed start, so that a run that never re-seeds draws the same values every time.
class Random {
 public:
  double Next() {
    state_ = (state_ * 1140671485u + 12820163u) & 0xFFFFFFu;
    return static_cast<double>(state_) / 16777216.0;
  }
  void Reseed(double seed);
  std::uint32_t State() const { return state_; }

 private:
  std::uint32_t state_ = 0x50000;
};

}  // namespace mireval
