#include "base/random.h"

#include <cstring>

namespace mireval {

void Random::Reseed(double seed) {
  // Fold the bits of the seed into the middle of the state, keeping the low byte, as a timer value
  // changes in its fraction from call to call.
  std::uint64_t bits;
  std::memcpy(&bits, &seed, sizeof bits);
  std::uint32_t folded = static_cast<std::uint32_t>(bits ^ (bits >> 32));
  folded = (folded ^ (folded >> 16)) & 0xFFFFu;
  state_ = ((folded << 8) | (state_ & 0xFFu)) & 0xFFFFFFu;
}

}  // namespace mireval
