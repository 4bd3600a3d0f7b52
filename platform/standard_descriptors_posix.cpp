// The POSIX side: a closed descriptor gets /dev/null. open() takes the lowest
// free number, so a closed 0, 1 or 2 is filled in that order.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/standard_descriptors.h"

void openMissingStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = open("/dev/null", O_RDWR | O_NOCTTY);
    // Without /dev/null (a bare chroot) there is nothing better to put there.
    if (opened < 0) return;
    if (opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}
