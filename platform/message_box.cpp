#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

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
  size_t length = SDL_strlen(text);
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);

  if (handler()) {
    handler()(caption, text);
    return;
  }
  // SDL's simple box needs no SDL video initialisation and owns its own loop.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) != 0) {
    std::fprintf(stderr, "(no message box could be shown: %s)\n", SDL_GetError());
  }
}
