#include "platform/text_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>

TEST(TextOutput, AReaderGetsTheLineWholeAndAFullOrBrokenPipeNothing) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const std::string line = "300 frames in 5.0 seconds = 60.000 FPS\n";
  EXPECT_TRUE(writeWithoutBlocking(ends[1], line));
  std::string got(100, '\0');
  got.resize(static_cast<size_t>(read(ends[0], got.data(), got.size())));
  EXPECT_EQ(got, line);

  // Filled to the brim, then blocking again, as standard output to a reader
  // that stopped reading: nothing is written and nothing waits.
  const int flags = fcntl(ends[1], F_GETFL);
  ASSERT_EQ(fcntl(ends[1], F_SETFL, flags | O_NONBLOCK), 0);
  while (write(ends[1], got.data(), got.size()) > 0) {
  }
  ASSERT_EQ(fcntl(ends[1], F_SETFL, flags), 0);
  EXPECT_FALSE(writeWithoutBlocking(ends[1], line));

  // The reader is gone: no SIGPIPE ends the test, none is left pending.
  close(ends[0]);
  EXPECT_FALSE(writeWithoutBlocking(ends[1], line));
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
  close(ends[1]);
}

TEST(TextOutput, AFullDiskOrAClosedDescriptorGetsNothing) {
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  EXPECT_FALSE(writeWithoutBlocking(full, "a line\n"));
  close(full);
  EXPECT_FALSE(writeWithoutBlocking(full, "a line\n"));
  EXPECT_FALSE(writeWithoutBlocking(-1, "a line\n"));
}
