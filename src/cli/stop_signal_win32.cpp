#include <windows.h>

#include <atomic>

#include "stop_signal.h"

namespace cli {

namespace {

std::atomic<bool> g_stop{false};

BOOL WINAPI OnControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  g_stop.store(true);
  return TRUE;  // handled: the process goes on to finish its file
}

}  // namespace

void CatchStopSignal() { SetConsoleCtrlHandler(OnControl, TRUE); }

bool StopRequested() { return g_stop.load(); }

}  // namespace cli
