#include "cli/two_at_a_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <vector>

namespace pavona::cli {
namespace {

struct Row {
  const char* name;
  int threads;
};
const Row Rows[] = {{"one thread", 1}, {"two threads", 2}};

// With a second thread the first item waits until the last is done, so the
// reports can only keep their order by waiting for the items' turns; on one
// thread the items simply run in order.
TEST(RunTwoAtATime, ReportsEveryItemOnceInOrderWhateverFinishesFirst)
{
  for (const Row& row : Rows) {
    SCOPED_TRACE(row.name);
    constexpr int Count = 6;
    std::mutex mutex;
    std::condition_variable lastDone;
    std::vector<int> worked(Count, 0);
    std::set<std::thread::id> workers;
    bool lastFinished = false, firstWaited = false;
    std::vector<int> reports;
    RunTwoAtATime(
        Count, row.threads,
        [&](int i) {
          std::unique_lock lock(mutex);
          ++worked[i];
          workers.insert(std::this_thread::get_id());
          if (i == 0 && row.threads > 1) {
            firstWaited =
                lastDone.wait_for(lock, std::chrono::seconds(30), [&] { return lastFinished; });
          }
          if (i == Count - 1) {
            lastFinished = true;
            lastDone.notify_all();
          }
        },
        [&](int i) {
          std::lock_guard lock(mutex);
          EXPECT_EQ(worked[i], 1) << "item " << i << " reported before its work";
          reports.push_back(i);
        });
    EXPECT_EQ(reports, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(worked, std::vector<int>(Count, 1));
    EXPECT_EQ(workers.size(), std::size_t(row.threads));
    EXPECT_EQ(firstWaited, row.threads > 1);
  }
}

// A failing item is thrown in its turn: the items before it are reported,
// it and those after it are not.
TEST(RunTwoAtATime, AFailureIsThrownInItsTurn)
{
  for (const Row& row : Rows) {
    SCOPED_TRACE(row.name);
    std::vector<int> reports;
    try {
      RunTwoAtATime(
          8, row.threads,
          [](int i) {
            if (i == 3) {
              throw std::runtime_error("item 3 failed");
            }
          },
          [&](int i) { reports.push_back(i); });
      ADD_FAILURE() << "nothing was thrown";
    } catch (const std::runtime_error& failure) {
      EXPECT_STREQ(failure.what(), "item 3 failed");
    }
    EXPECT_EQ(reports, (std::vector<int>{0, 1, 2}));
  }
}

}  // namespace
}  // namespace pavona::cli
