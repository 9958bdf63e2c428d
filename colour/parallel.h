#pragma once

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace pavona {

// A thread started to share work with the calling thread: a new thread often
// waits on its parent's processor, and on a virtual machine an idle one may
// take milliseconds to draw it away, which doubled the time of a short
// search. The caller moves it to another processor at once; the thread lets
// itself run anywhere again when it begins. Neither fails: where the system
// has no such control nothing changes.
void MoveOffCallersCpu(std::thread& thread);
void MoveOffCallersCpu(std::jthread& thread);
void RunOnAnyCpu();

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
    RunOnAnyCpu();
    for (int i = next++; i < count; i = next++) {
      work(i);
    }
  };
  std::vector<std::jthread> pool;
  for (int t = 1; t < threads; ++t) {
    try {
      pool.emplace_back(worker);
      MoveOffCallersCpu(pool.back());
    } catch (const std::system_error&) {
      break;
    }
  }
  worker();
}

}  // namespace pavona
