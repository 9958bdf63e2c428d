#include "colour/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

namespace pavona {
namespace {

// Every item runs exactly once, whichever thread takes it.
TEST(ParallelFor, RunsEveryItemOnce)
{
  for (const int count : {0, 1, 2, 25, 1000}) {
    std::vector<std::atomic<int>> runs(static_cast<std::size_t>(count));
    ParallelFor(count, [&](int i) { ++runs[std::size_t(i)]; });
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(runs[std::size_t(i)], 1) << count << " items, item " << i;
    }
  }
}

#ifdef __linux__
// A helper thread is sent off the caller's processor before it runs, and may
// run anywhere again once it begins.
TEST(ParallelFor, HelperLeavesTheCallersProcessorThenRunsAnywhere)
{
  cpu_set_t allowed;
  ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
  if (CPU_COUNT(&allowed) < 2) {
    GTEST_SKIP() << "one processor: nowhere to move a thread to";
  }
  std::atomic<bool> begin{false}, began{false};
  std::thread helper([&] {
    begin.wait(false);
    RunOnAnyCpu();
    began = true;
    began.notify_one();
  });
  MoveOffCallersCpu(helper);
  cpu_set_t moved;
  ASSERT_EQ(pthread_getaffinity_np(helper.native_handle(), sizeof moved, &moved), 0);
  // One processor fewer: the one the caller ran on (it may have moved since).
  cpu_set_t within;
  CPU_AND(&within, &moved, &allowed);
  EXPECT_EQ(CPU_COUNT(&moved), CPU_COUNT(&allowed) - 1);
  EXPECT_TRUE(CPU_EQUAL(&within, &moved));
  begin = true;
  begin.notify_one();
  began.wait(false);
  cpu_set_t after;
  ASSERT_EQ(pthread_getaffinity_np(helper.native_handle(), sizeof after, &after), 0);
  EXPECT_TRUE(CPU_EQUAL(&after, &allowed));
  helper.join();
}
#endif

}  // namespace
}  // namespace pavona
