#include "cli/two_at_a_time.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

namespace pavona::cli {
namespace {

// A failure on either thread (such as memory running out while a file is
// made) reaches the caller in its turn: the items before it are reported, it
// and those after it are not, and nothing ends the process.
TEST(RunTwoAtATime, AFailureIsThrownInItsTurn)
{
  for (const int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    std::vector<int> reports;
    EXPECT_THROW(RunTwoAtATime(
                     8, threads,
                     [](int i) {
                       if (i == 3) {
                         throw std::bad_alloc();
                       }
                     },
                     [&](int i) { reports.push_back(i); }),
                 std::bad_alloc);
    EXPECT_EQ(reports, (std::vector<int>{0, 1, 2}));
  }
}

}  // namespace
}  // namespace pavona::cli
