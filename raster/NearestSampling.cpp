#include "NearestSampling.h"

namespace palettor {

std::vector<int> NearestSources(int first, int count, int small, int large) {
  std::vector<int> sources(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) sources[static_cast<std::size_t>(i)] = NearestSource(first + i, small, large);
  return sources;
}

}  // namespace palettor
