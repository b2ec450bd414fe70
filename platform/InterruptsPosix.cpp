// SIGINT, SIGTERM and SIGHUP only note themselves, so that a run can finish
// or undo the file in hand, remove its temporary files and say so.
#include "Platform.h"

#include <signal.h>
#include <unistd.h>

namespace platform {
namespace {

volatile sig_atomic_t noted = 0;

extern "C" void NoteSignal(int signal) {
  if (noted == 0) noted = signal;
}

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait for input ends with EINTR instead of going on.
  action.sa_flags = 0;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
  // A closed output pipe then shows as a write error at the file in hand
  // instead of ending the process there.
  ::signal(SIGPIPE, SIG_IGN);
}

int InterruptSignal() { return noted; }

void ExitForInterrupt(int exitCode) {
  const int signal = noted;
  if (signal != 0) {
    ::signal(signal, SIG_DFL);
    ::raise(signal);
  }
  ::_exit(exitCode);
}

}  // namespace platform
