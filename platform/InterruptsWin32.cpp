// Ctrl+C, Ctrl+Break and closing the console only note themselves, so that
// a run can finish or undo the file in hand and stop.
#include "Platform.h"

#include <windows.h>

#include <atomic>

namespace platform {
namespace {

std::atomic<int> noted{0};

BOOL WINAPI NoteControlEvent(DWORD event) {
  const bool closing = event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
  int expected = 0;
  noted.compare_exchange_strong(expected, closing ? 1 : 2);
  // Returning from a closing event ends the process at once; waiting here
  // gives the run the time the system allows to finish the file in hand.
  if (closing) ::Sleep(INFINITE);
  return TRUE;
}

}  // namespace

void CatchInterrupts() { ::SetConsoleCtrlHandler(NoteControlEvent, TRUE); }

int InterruptSignal() { return noted.load(); }

void ExitForInterrupt(int exitCode) {
  ::ExitProcess(noted.load() != 0 ? static_cast<UINT>(STATUS_CONTROL_C_EXIT) : static_cast<UINT>(exitCode));
}

}  // namespace platform
