// The error box on X11 and the other SDL systems.
#include <SDL.h>

#include <cstdio>

#include "platform/system_message_box.h"

void showSystemMessageBox(const char* caption, const char* text) {
  // SDL's simple box needs no SDL video initialisation and owns its own loop.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) != 0) {
    std::fprintf(stderr, "(no message box could be shown: %s)\n", SDL_GetError());
  }
}
