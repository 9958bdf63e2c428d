#pragma once

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace pavona {

// Runs work(i) for i in [0, count) on all cores. The items must be
// independent (each writes only its own part of the output), so the result is
// the same as a loop on one thread whatever the scheduling. A thread the
// system refuses (low on memory or processes) leaves its share to the others.
template <typename Work>
void ParallelFor(int count, Work work)
{
  const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, std::max(count, 1));
  if (threads <= 1) {
    for (int i = 0; i < count; ++i) {
      work(i);
    }
    return;
  }
  std::atomic<int> next{0};
  auto worker = [&] {
    for (int i = next++; i < count; i = next++) {
      work(i);
    }
  };
  std::vector<std::jthread> pool;
  for (int t = 1; t < threads; ++t) {
    try {
      pool.emplace_back(worker);
    } catch (const std::system_error&) {
      break;
    }
  }
  worker();
}

}  // namespace pavona
