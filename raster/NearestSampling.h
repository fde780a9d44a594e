#pragma once
// Where the pixels of a channel smaller than the scene are taken from: the scene's pixel x of
// `large` across lies over the small channel's pixel floor((x + 0.5) × small / large), worked
// out in whole numbers as floor((2x + 1) × small / (2 × large)), which is exact.
#include <cstdint>
#include <vector>

namespace palettor {

inline int NearestSource(int x, int small, int large) {
  return static_cast<int>(((2 * std::int64_t{x} + 1) * small) / (2 * std::int64_t{large}));
}

// NearestSource for x = first ... first + count - 1.
std::vector<int> NearestSources(int first, int count, int small, int large);

}  // namespace palettor
