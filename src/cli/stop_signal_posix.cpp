#include <signal.h>

#include <atomic>

#include "stop_signal.h"

namespace cli {

namespace {

std::atomic<bool> g_stop{false};

void OnInterrupt(int) { g_stop.store(true); }

}  // namespace

void CatchStopSignal() {
  struct sigaction sa = {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;  // reads and writes in progress carry on
  sigaction(SIGINT, &sa, nullptr);
}

bool StopRequested() { return g_stop.load(); }

}  // namespace cli
