#include "platform/text_output.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

bool writeWithoutBlocking(int fd, std::string_view text) {
  pollfd target{fd, POLLOUT, 0};
  if (poll(&target, 1, 0) != 1) return false;
  if ((target.revents & (POLLERR | POLLHUP | POLLNVAL)) || !(target.revents & POLLOUT)) {
    return false;
  }
  // A reader that leaves between the poll and the write would raise SIGPIPE,
  // which ends a program by default. The signal is held back for this thread
  // around the write, and one that the write raised is taken off again.
  sigset_t pipeSignal, previousMask, pending;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previousMask);
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE) == 1;

  ssize_t written;
  do {
    written = write(fd, text.data(), text.size());
  } while (written < 0 && errno == EINTR);

  if (written < 0 && errno == EPIPE && !wasPending) {
    const timespec noWait{};
    while (sigtimedwait(&pipeSignal, nullptr, &noWait) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
  return written == static_cast<ssize_t>(text.size());
}
