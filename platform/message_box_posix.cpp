// The error box on X11 and the other SDL systems.
//
// SDL shows its box from a child process it forks and waits for. A program
// ended while it waits would leave that child behind, box and all, with no one
// to answer it. So the box is shown from a child of our own, in a process
// group of its own that SDL's child joins, and while the box is up SIGTERM,
// SIGINT and SIGHUP end that group before they end the program. On Linux the
// group also goes when the program is killed outright.
#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <cstdio>
#include <iterator>

#include "platform/system_message_box.h"

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The box's process group while a box is up, else 0. Read by the handler.
volatile sig_atomic_t boxGroup = 0;

int showHere(const char* caption, const char* text) {
  // SDL's simple box needs no SDL video initialisation and owns its own loop.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) == 0) return 0;
  std::fprintf(stderr, "(no message box could be shown: %s)\n", SDL_GetError());
  return 1;
}

void endGroup(pid_t group) {
  kill(-group, SIGKILL);
  // Reaped here, SDL's child too (it is handed to us, see below), so that no
  // zombie of the box outlives the program either.
  while (waitpid(-group, nullptr, 0) > 0 || errno == EINTR) {
  }
}

// In the program: ends the box's group, then the program by the same signal.
void endBoxThenProgram(int signal) {
  if (boxGroup > 0) endGroup(boxGroup);
  struct sigaction standard = {};
  standard.sa_handler = SIG_DFL;
  sigaction(signal, &standard, nullptr);
  raise(signal);  // delivered when the handler returns
}

// In the box's own child: its parent is gone, so its group goes.
void endOwnGroup(int) {
  kill(0, SIGKILL);
}

[[noreturn]] void runBoxChild(pid_t program, const char* caption, const char* text) {
  setpgid(0, 0);
#if defined(__linux__)
  struct sigaction orphaned = {};
  orphaned.sa_handler = endOwnGroup;
  sigaction(SIGUSR1, &orphaned, nullptr);
  prctl(PR_SET_PDEATHSIG, SIGUSR1);
  if (getppid() != program) endOwnGroup(0);  // gone before the line above
#else
  (void)program;
#endif
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  // _exit: the program's exit handlers and stdio buffers are not the child's.
  _exit(showHere(caption, text));
}

}  // namespace

void showSystemMessageBox(const char* caption, const char* text) {
  sigset_t ending, previousMask;
  sigemptyset(&ending);
  for (int signal : kEndingSignals) sigaddset(&ending, signal);
  // Held back until the child has its group and the handlers are in place.
  sigprocmask(SIG_BLOCK, &ending, &previousMask);
#if defined(__linux__)
  // SDL's child, orphaned when ours is killed, is handed to this process
  // rather than to init, so that endGroup can reap it.
  prctl(PR_SET_CHILD_SUBREAPER, 1);
#endif
  const pid_t program = getpid();
  const pid_t child = fork();
  if (child == 0) runBoxChild(program, caption, text);
  if (child < 0) {
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    showHere(caption, text);
  } else {
    setpgid(child, child);  // also done by the child; whichever comes first
    boxGroup = child;
    struct sigaction handler = {}, previous[std::size(kEndingSignals)];
    handler.sa_handler = endBoxThenProgram;
    handler.sa_mask = ending;
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
      sigaction(kEndingSignals[i], &handler, &previous[i]);
    }
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);

    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }

    sigprocmask(SIG_BLOCK, &ending, nullptr);
    boxGroup = 0;
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
      sigaction(kEndingSignals[i], &previous[i], nullptr);
    }
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
  }
#if defined(__linux__)
  prctl(PR_SET_CHILD_SUBREAPER, 0);
#endif
}
