#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace pavona {

// Runs work(unit) for every unit in [0, count) on worker threads, while the
// calling thread walks the units in ascending order: begin(unit) before it
// waits for the unit, end(unit) once the unit is done. So progress reports,
// which may only come from the calling thread, arrive in the order a single
// thread would make them, each as soon as its unit is finished. The units must
// be independent (each writes only its own part of the output).
//
// keepGoing() is asked before every unit, by the worker that would compute it
// and by the calling thread before it begins and ends it; once it says no (and
// then stays no) the remaining units are neither computed nor reported, and a
// unit that was skipped is never reported as done.
template <typename KeepGoing, typename Work, typename Begin, typename End>
void RunUnitsOnThisThread(int count, KeepGoing keepGoing, Work work, Begin begin, End end)
{
  for (int unit = 0; unit < count; ++unit) {
    if (!keepGoing()) {
      return;
    }
    begin(unit);
    work(unit);
    end(unit);
  }
}

// A thread the system refuses (low on memory or processes) leaves its share
// to the others, and with none at all the calling thread does the work.
template <typename KeepGoing, typename Work, typename Begin, typename End>
void RunUnitsInOrder(int count, KeepGoing keepGoing, Work work, Begin begin, End end)
{
  const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, std::max(count, 1));
  if (threads <= 1) {
    RunUnitsOnThisThread(count, keepGoing, work, begin, end);
    return;
  }
  enum : char { Pending, Computed, Skipped };
  std::vector<char> state(count, Pending);
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<int> next{0};
  auto worker = [&] {
    for (int unit = next++; unit < count; unit = next++) {
      const bool computed = keepGoing();
      if (computed) {
        work(unit);
      }
      {
        std::lock_guard lock(mutex);
        state[unit] = computed ? Computed : Skipped;
      }
      finished.notify_all();
    }
  };
  // The calling thread only waits and reports, so every core computes.
  std::vector<std::jthread> pool;
  for (int t = 0; t < threads; ++t) {
    try {
      pool.emplace_back(worker);
    } catch (const std::system_error&) {
      break;
    }
  }
  if (pool.empty()) {
    RunUnitsOnThisThread(count, keepGoing, work, begin, end);
    return;
  }
  for (int unit = 0; unit < count; ++unit) {
    if (!keepGoing()) {
      return;  // the pool's destructor waits for the workers, which skip what is left
    }
    begin(unit);
    {
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] { return state[unit] != Pending; });
      if (state[unit] == Skipped) {
        return;
      }
    }
    if (!keepGoing()) {
      return;  // a stopped stage reports nothing more, not even a finished unit
    }
    end(unit);
  }
}

}  // namespace pavona
