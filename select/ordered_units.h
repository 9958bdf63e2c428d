#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace pavona {

// Runs work(unit) for every unit in [0, count) on worker threads, while the
// calling thread walks the units in ascending order: begin(unit) before it
// waits for the unit, end(unit) once the unit is done. So progress reports,
// which may only come from the calling thread, arrive in the order a single
// thread would make them, each as soon as its unit is finished. The units must
// be independent (each writes only its own part of the output).
template <typename Work, typename Begin, typename End>
void RunUnitsInOrder(int count, Work work, Begin begin, End end)
{
  const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, std::max(count, 1));
  if (threads <= 1) {
    for (int unit = 0; unit < count; ++unit) {
      begin(unit);
      work(unit);
      end(unit);
    }
    return;
  }
  std::vector<char> done(count, 0);
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<int> next{0};
  auto worker = [&] {
    for (int unit = next++; unit < count; unit = next++) {
      work(unit);
      {
        std::lock_guard lock(mutex);
        done[unit] = 1;
      }
      finished.notify_all();
    }
  };
  // The calling thread only waits and reports, so every core computes.
  std::vector<std::jthread> pool;
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back(worker);
  }
  for (int unit = 0; unit < count; ++unit) {
    begin(unit);
    {
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] { return done[unit] != 0; });
    }
    end(unit);
  }
}

}  // namespace pavona
