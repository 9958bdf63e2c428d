#pragma once

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace pavona::cli {

// Runs work(i) for every i in [0, count), two at a time: on the calling
// thread and, when `threads` allows a second one, on one more. report(i) is
// called on the calling thread in ascending order of i, each once work(i) has
// finished, so whatever it prints comes in the order of one thread. The items
// must be independent of each other.
//
// The calling thread never idles while a report waits: it takes the next item
// nobody has begun. An exception from work(i) is thrown from here in i's
// turn, after the reports of the items before it; items nobody has begun by
// then are left undone. A thread the system refuses (low on memory or
// processes) leaves all the work to the calling thread.
template <typename Work, typename Report>
void RunTwoAtATime(int count, int threads, Work work, Report report)
{
  struct Item {
    std::atomic<bool> finished{false};
    std::exception_ptr failure;  // set before `finished`
  };
  std::vector<Item> items(std::size_t(std::max(count, 0)));
  std::atomic<int> next{0};  // the first item nobody has begun
  auto run = [&](int i) {
    try {
      work(i);
    } catch (...) {
      items[i].failure = std::current_exception();
    }
    items[i].finished.store(true, std::memory_order_release);
    items[i].finished.notify_one();
  };
  // Declared after what it uses: its destructor waits for it before those go.
  std::jthread helper;
  if (threads > 1 && count > 1) {
    try {
      helper = std::jthread([&] {
        for (int i = next++; i < count; i = next++) {
          run(i);
        }
      });
    } catch (const std::system_error&) {
      // the calling thread takes every item
    }
  }
  for (int i = 0; i < count; ++i) {
    while (!items[i].finished.load(std::memory_order_acquire)) {
      if (const int free = next++; free < count) {
        run(free);
      } else {
        items[i].finished.wait(false, std::memory_order_acquire);
      }
    }
    if (items[i].failure) {
      next = count;  // the helper begins nothing more
      std::rethrow_exception(items[i].failure);
    }
    report(i);
  }
}

}  // namespace pavona::cli
