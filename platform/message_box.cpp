#include "platform/message_box.h"

#if defined(_WIN32)
#include <windows.h>

#include <string>

#include "platform/win32_system.h"
#else
#include <SDL.h>
#endif

#include <cstdio>
#include <cstring>

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
#if defined(_WIN32)
  // The system's own box, owned by the window that has the focus.
  const std::wstring wideText = widenText(text), wideCaption = widenText(caption);
  if (MessageBoxW(GetFocus(), wideText.c_str(), wideCaption.c_str(), MB_OK | MB_ICONERROR) == 0) {
    std::fprintf(stderr, "(no message box could be shown: %s)\n",
                 reasonForError(GetLastError()).c_str());
  }
#else
  // SDL's simple box needs no SDL video initialisation and owns its own loop.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) != 0) {
    std::fprintf(stderr, "(no message box could be shown: %s)\n", SDL_GetError());
  }
#endif
}
