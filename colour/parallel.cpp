#include "colour/parallel.h"

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#include <unistd.h>
#endif

namespace pavona {

#ifdef __linux__

namespace {

void MoveOffCallersCpu(pthread_t thread)
{
  const int cpu = sched_getcpu();
  cpu_set_t others;
  if (cpu < 0 || cpu >= CPU_SETSIZE || sched_getaffinity(0, sizeof others, &others) != 0) {
    return;
  }
  CPU_CLR(cpu, &others);
  if (CPU_COUNT(&others) > 0) {
    pthread_setaffinity_np(thread, sizeof others, &others);
  }
}

}  // namespace

void MoveOffCallersCpu(std::thread& thread)
{
  MoveOffCallersCpu(thread.native_handle());
}

void MoveOffCallersCpu(std::jthread& thread)
{
  MoveOffCallersCpu(thread.native_handle());
}

// The processors the program may use are those of its first thread.
void RunOnAnyCpu()
{
  cpu_set_t allowed;
  if (sched_getaffinity(getpid(), sizeof allowed, &allowed) == 0) {
    sched_setaffinity(0, sizeof allowed, &allowed);
  }
}

#else

void MoveOffCallersCpu(std::thread&) {}

void MoveOffCallersCpu(std::jthread&) {}

void RunOnAnyCpu() {}

#endif

}  // namespace pavona
