#include "platform/text_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>

namespace {

struct Pipe {
  int ends[2] = {-1, -1};
  Pipe() { EXPECT_EQ(pipe(ends), 0); }
  ~Pipe() {
    for (int fd : ends) {
      if (fd >= 0) close(fd);
    }
  }
  int reader() const { return ends[0]; }
  int writer() const { return ends[1]; }
  void closeReader() {
    close(ends[0]);
    ends[0] = -1;
  }
};

}  // namespace

TEST(TextOutput, AReaderGetsTheLineWhole) {
  Pipe p;
  const std::string line = "300 frames in 5.0 seconds = 60.000 FPS\n";
  EXPECT_TRUE(writeWithoutBlocking(p.writer(), line));
  std::string got(line.size() + 8, '\0');
  got.resize(static_cast<size_t>(read(p.reader(), got.data(), got.size())));
  EXPECT_EQ(got, line);
}

TEST(TextOutput, FullClosedOrBrokenTargetsGetNothingAndNeverStopTheProgram) {
  {
    // Filled to the brim; the write end then blocks again, as standard output
    // to a reader that stopped reading would.
    Pipe p;
    const int flags = fcntl(p.writer(), F_GETFL);
    ASSERT_EQ(fcntl(p.writer(), F_SETFL, flags | O_NONBLOCK), 0);
    const std::string chunk(4096, 'x');
    while (write(p.writer(), chunk.data(), chunk.size()) > 0) {
    }
    ASSERT_EQ(fcntl(p.writer(), F_SETFL, flags), 0);
    EXPECT_FALSE(writeWithoutBlocking(p.writer(), "a line\n"));
  }
  {
    // The reader is gone: no SIGPIPE ends the test, none is left pending.
    Pipe p;
    p.closeReader();
    EXPECT_FALSE(writeWithoutBlocking(p.writer(), "a line\n"));
    sigset_t pending;
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
  }
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  EXPECT_FALSE(writeWithoutBlocking(full, "a line\n"));
  close(full);
  EXPECT_FALSE(writeWithoutBlocking(full, "a line\n"));  // closed now
  EXPECT_FALSE(writeWithoutBlocking(-1, "a line\n"));
}
