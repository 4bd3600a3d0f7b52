#include "platform/message_box.h"

#include <cstdio>
#include <cstring>

#include "platform/system_message_box.h"

namespace {
MessageBoxHandler& handler() {
  static MessageBoxHandler installed;
  return installed;
}
}  // namespace

void setMessageBoxHandler(MessageBoxHandler replacement) {
  handler() = std::move(replacement);
}

void showMessageBox(const char* caption, const char* text) {
  std::fprintf(stderr, "%s: %s", caption, text);
  // Our texts mostly end without a line break; keep stderr one line per message.
  size_t length = std::strlen(text);
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);

  if (handler()) {
    handler()(caption, text);
    return;
  }
  showSystemMessageBox(caption, text);
}
