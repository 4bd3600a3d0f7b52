#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(MessageBox, GoesToTheInstalledHandlerAndToStderr) {
  std::vector<std::string> shown;
  setMessageBoxHandler([&](const char* caption, const char* text) {
    shown.push_back(std::string(caption) + "|" + text);
  });
  testing::internal::CaptureStderr();
  showMessageBox("Error", "Unknown DIB file format.");
  const std::string err = testing::internal::GetCapturedStderr();
  setMessageBoxHandler({});

  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Error|Unknown DIB file format.");
  EXPECT_EQ(err, "Error: Unknown DIB file format.\n");
}

TEST(MessageBox, TextEndingInALineBreakIsNotDoubled) {
  setMessageBoxHandler([](const char*, const char*) {});
  testing::internal::CaptureStderr();
  showMessageBox("Error", "Failed to open DIB file x.bmp.\n");
  const std::string err = testing::internal::GetCapturedStderr();
  setMessageBoxHandler({});
  EXPECT_EQ(err, "Error: Failed to open DIB file x.bmp.\n");
}
